#include "help/ui/HelpController.h"

#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "app/ui/TImage.h"
#include "help/core/LessonVoicePlayer.h"
#include "help/ui/TAboutBox.h"
#include "help/ui/TfrmLesson.h"

#include <QAction>
#include <QDesktopServices>
#include <stdexcept>

namespace orvane {

QUrl HelpController::SiteAddress() {
    return QUrl(QStringLiteral("https://www.orvane.example/"));
}

QUrl HelpController::ForumAddress() {
    return QUrl(QStringLiteral("https://forum.orvane.example/"));
}

QUrl HelpController::MailAddress() {
    return QUrl(QStringLiteral("mailto:school@orvane.example,authors@orvane.example"));
}

HelpController::HelpController(HelpWidgets widgets, ProgramData& data, const std::unique_ptr<TfrmLesson>& frmLesson, const std::unique_ptr<TAboutBox>& AboutBox, std::function<AudioEngine*()> engine)
    : widgets_(widgets), data_(data), frmLesson_(frmLesson), AboutBox_(AboutBox) {
    voices_[kReferenceVoice] =
        std::make_unique<LessonVoicePlayer>(QStringLiteral("Voice\\programma.mp3"), engine);
    voices_[kSmallLesson] =
        std::make_unique<LessonVoicePlayer>(QStringLiteral("Voice\\malye.mp3"), engine);
    voices_[kMiddleLesson] =
        std::make_unique<LessonVoicePlayer>(QStringLiteral("Voice\\srednie.mp3"), engine);
    voices_[kBigLesson] =
        std::make_unique<LessonVoicePlayer>(QStringLiteral("Voice\\bolshie.mp3"), engine);
}

HelpController::~HelpController() = default;

void HelpController::Connect() {
    const HelpWidgets& f = widgets_;
    auto on = [this](QAction* item, void (HelpController::*handler)()) {
        Wire(item, &QAction::triggered, this, handler);
    };
    on(f.nHelp, &HelpController::nHelpClick);
    on(f.nManual, &HelpController::nManualClick);
    on(f.nLesson1, &HelpController::nLesson1Click);
    on(f.nLesson2, &HelpController::nLesson2Click);
    on(f.nLesson3, &HelpController::nLesson3Click);
    on(f.nMail, &HelpController::nMailClick);
    on(f.N1, &HelpController::N1Click);
    on(f.nForum, &HelpController::nForumClick);
    on(f.nAbout, &HelpController::nAboutClick);
    Wire(f.imgBanner, &TImage::Clicked, this, &HelpController::imgBannerClick);
}

TfrmLesson& HelpController::Lesson() {
    if (!frmLesson_) {
        throw std::logic_error("the lesson window does not exist yet");
    }
    TfrmLesson& lesson = *frmLesson_;
    connect(&lesson, &TfrmLesson::FormClose, this, &HelpController::OnLessonClosed,
            Qt::UniqueConnection);
    return lesson;
}

void HelpController::OnLessonClosed(int tag) {
    Guarded([&] { LessonFormClose(tag); });
}

LessonVoicePlayer& HelpController::Voice(int tag) {
    return *voices_.at(static_cast<std::size_t>(tag));
}

void HelpController::StopCurrentVoice() {
    const int tag = Lesson().Tag;
    if (tag >= kReferenceVoice && tag <= kBigLesson) {
        Voice(tag).Stop();
        Voice(tag).Close();
    }
}

void HelpController::OpenVoicedPage(const QString& page, int tag) {
    TfrmLesson& lesson = Lesson();
    // One voice at a time: the voice of the entry opened before stops first.
    StopCurrentVoice();
    lesson.Tag = kNoVoice;
    lesson.Navigate(QUrl::fromLocalFile(page));
    // A voice that cannot sound (missing file, no device) leaves the page readable.
    Guarded([&] {
        LessonVoicePlayer& voice = Voice(tag);
        if (voice.Open() == EngineError::kNone) {
            voice.Play();
        }
    });
    lesson.Tag = tag;
    lesson.ShowLesson();
}

void HelpController::OpenWebPage(const QUrl& url) {
    StopCurrentVoice();
    Lesson().Tag = kNoVoice;
    // The lesson window shows local pages only; web pages open in the user's browser.
    QDesktopServices::openUrl(url);
}

void HelpController::nHelpClick() {
    StopCurrentVoice();
    TfrmLesson& lesson = Lesson();
    lesson.Tag = kNoVoice;
    lesson.Navigate(QUrl::fromLocalFile(data_.AppPath.HelpFile));
    lesson.ShowLesson();
}

void HelpController::nManualClick() {
    OpenVoicedPage(data_.AppPath.ReferenceFile, kReferenceVoice);
}

void HelpController::nLesson1Click() {
    OpenVoicedPage(data_.AppPath.VoiceDir + QStringLiteral("malie.htm"), kSmallLesson);
}

void HelpController::nLesson2Click() {
    OpenVoicedPage(data_.AppPath.VoiceDir + QStringLiteral("srednie.htm"), kMiddleLesson);
}

void HelpController::nLesson3Click() {
    OpenVoicedPage(data_.AppPath.VoiceDir + QStringLiteral("bolshie.htm"), kBigLesson);
}

void HelpController::nMailClick() {
    QDesktopServices::openUrl(MailAddress());
}

void HelpController::N1Click() {
    OpenWebPage(SiteAddress());
}

void HelpController::nForumClick() {
    OpenWebPage(ForumAddress());
}

void HelpController::imgBannerClick() {
    OpenWebPage(SiteAddress());
}

void HelpController::nAboutClick() {
    AboutBox_->exec();
}

void HelpController::LessonFormClose(int tag) {
    if (tag >= kReferenceVoice && tag <= kBigLesson) {
        Voice(tag).Stop();
        Voice(tag).Close();
    }
}

}  // namespace orvane
