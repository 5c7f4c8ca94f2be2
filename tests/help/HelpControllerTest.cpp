#include "app/core/Guard.h"
#include "app/ui/TImage.h"
#include "help/ui/HelpController.h"
#include "help/core/LessonVoicePlayer.h"
#include "help/ui/TAboutBox.h"
#include "help/ui/TfrmLesson.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "support/ControllerRig.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace orvane;

// Receives the addresses that the program hands to the user's browser or mail program.
class UrlSink : public QObject {
    Q_OBJECT

public:
    UrlSink() {
        for (const char* scheme : {"http", "https", "mailto"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
        }
    }
    ~UrlSink() override {
        for (const char* scheme : {"http", "https", "mailto"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

namespace {

// The reference menu built from its collaborators alone: the lesson and about windows and an
// engine on the offline sound output for the lesson voices.
struct HelpRig : ControllerRig {
    explicit HelpRig(const ProgramFolder& folder)
        : ControllerRig(folder),
          engine(std::make_unique<OfflineOutput>()),
          controller(HelpWidgetsOf(form), data, frmLesson, AboutBox, [this] { return &engine; }) {
        QDir::setCurrent(folder.Dir());  // as start-up does: the voices' paths are relative
        AboutBox = std::make_unique<TAboutBox>(&window);
        frmLesson = std::make_unique<TfrmLesson>(&window);
        controller.Connect();
    }

    AudioEngine engine;
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TfrmLesson> frmLesson;
    HelpController controller;
    HelpController* const help = &controller;
};

// The reference menu without a main window; `offline` is the output the voices play on.
class Help : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        GuardLog::Reset();
    }

    std::unique_ptr<HelpRig> Start() {
        auto w = std::make_unique<HelpRig>(folder);
        offline = dynamic_cast<OfflineOutput*>(&w->engine.Output());
        w->window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w->window));
        return w;
    }

    static QString Page(const HelpRig& w) { return w.frmLesson->IE->source().toLocalFile(); }
    ProgramFolder folder;
    OfflineOutput* offline = nullptr;
    UrlSink sink;
};

}  // namespace

TEST_F(Help, ReferenceMenuHoldsTheEntriesInOrderWithTheirSeparators) {
    auto w = Start();
    QStringList items;
    for (QAction* a : w->form.mReference->actions()) {
        items.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
    }
    EXPECT_EQ(items, (QStringList{"nHelp", "nManual", "-", "nLesson1", "nLesson2", "nLesson3", "-",
                                  "nMail", "N1", "nForum", "-", "nAbout"}));
    EXPECT_EQ(w->form.nHelp->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_FALSE(w->form.nManual->isVisible());
}

TEST_F(Help, LessonThreeSpeaksUntilTheWindowCloses) {
    auto w = Start();
    w->form.nLesson3->trigger();
    TfrmLesson& lesson = *w->frmLesson;
    EXPECT_TRUE(lesson.isVisible());
    EXPECT_TRUE(lesson.isMaximized());
    EXPECT_EQ(Page(*w), folder.Path("Voice/bolshie.htm"));
    EXPECT_TRUE(lesson.IE->toPlainText().contains("blagovest"));
    EXPECT_EQ(lesson.Tag, 3);
    EXPECT_EQ(lesson.Status->currentMessage(), QString::fromUtf8("100% Выполнено"));
    LessonVoicePlayer& voice = w->help->Voice(HelpController::kBigLesson);
    EXPECT_EQ(voice.FileName(), "Voice\\bolshie.mp3");
    EXPECT_EQ(voice.FilePath(), folder.Path("Voice/bolshie.mp3"));
    EXPECT_TRUE(voice.IsPlaying());
    offline->Render(24000);
    EXPECT_TRUE(voice.IsPlaying());
    lesson.close();
    EXPECT_FALSE(lesson.isVisible());
    EXPECT_FALSE(voice.IsPlaying());
    EXPECT_FALSE(voice.IsOpen());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Help, EachLessonHasItsPageAndVoice) {
    auto w = Start();
    const struct {
        QAction* item;
        const char* page;
        int tag;
    } entries[] = {{w->form.nLesson1, "Voice/malie.htm", 1},
                   {w->form.nLesson2, "Voice/srednie.htm", 2},
                   {w->form.nManual, "Voice/reference.htm", 0}};
    for (const auto& e : entries) {
        e.item->trigger();
        EXPECT_EQ(Page(*w), folder.Path(e.page));
        EXPECT_EQ(w->frmLesson->Tag, e.tag);
        EXPECT_TRUE(w->help->Voice(e.tag).IsPlaying()) << e.page;
    }
    // Opening another entry silenced the voices of the entries before it.
    EXPECT_FALSE(w->help->Voice(1).IsPlaying());
    EXPECT_FALSE(w->help->Voice(2).IsPlaying());
}

TEST_F(Help, HelpOpensTheIndexWithoutVoiceAndStopsALessonVoice) {
    auto w = Start();
    w->form.nLesson1->trigger();
    ASSERT_TRUE(w->help->Voice(1).IsPlaying());
    w->frmLesson->Status->clearMessage();
    w->form.nHelp->trigger();
    EXPECT_EQ(Page(*w), folder.Path("Help/index.htm"));
    EXPECT_EQ(w->frmLesson->Tag, 4);
    EXPECT_EQ(w->frmLesson->Status->currentMessage(), QString::fromUtf8("100% Выполнено"));
    for (int tag = 0; tag < 4; ++tag) {
        EXPECT_FALSE(w->help->Voice(tag).IsPlaying()) << tag;
    }
    w->frmLesson->close();
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Help, AMissingVoiceLeavesThePageReadable) {
    auto w = Start();
    QFile::remove(folder.Path("Voice/srednie.mp3"));
    w->form.nLesson2->trigger();
    EXPECT_TRUE(w->frmLesson->isVisible());
    EXPECT_EQ(Page(*w), folder.Path("Voice/srednie.htm"));
    EXPECT_FALSE(w->help->Voice(2).IsPlaying());
}

TEST_F(Help, WebAndMailAddressesGoToTheUsersPrograms) {
    auto w = Start();
    w->form.nLesson3->trigger();
    w->form.N1->trigger();
    EXPECT_FALSE(w->help->Voice(3).IsPlaying());
    EXPECT_EQ(w->frmLesson->Tag, 4);
    w->form.nForum->trigger();
    emit w->form.imgBanner->Clicked();
    w->form.nMail->trigger();
    ASSERT_EQ(sink.opened.size(), 4);
    EXPECT_EQ(sink.opened[0], HelpController::SiteAddress());
    EXPECT_EQ(sink.opened[1], HelpController::ForumAddress());
    EXPECT_EQ(sink.opened[2], HelpController::SiteAddress());
    EXPECT_EQ(sink.opened[3].toString(), "mailto:school@orvane.example,authors@orvane.example");
    EXPECT_EQ(HelpController::SiteAddress().host(), "www.orvane.example");
}

TEST_F(Help, LinksInAPageAreFollowedOrHandedOn) {
    auto w = Start();
    w->form.nHelp->trigger();
    QTextBrowser* ie = w->frmLesson->IE;
    emit ie->anchorClicked(QUrl("https://www.orvane.example/forum"));
    ASSERT_EQ(sink.opened.size(), 1);
    EXPECT_EQ(Page(*w), folder.Path("Help/index.htm"));
    emit ie->anchorClicked(QUrl("../Voice/bolshie.htm"));
    EXPECT_EQ(Page(*w), folder.Path("Voice/bolshie.htm"));
}

TEST_F(Help, ARightClickShowsNoMenu) {
    auto w = Start();
    w->form.nLesson1->trigger();
    QTextBrowser* ie = w->frmLesson->IE;
    bool menuShown = false;
    // A menu would run its own event loop; close it from inside and remember it.
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    watcher.start(10);
    const QPoint at(40, 40);
    QTest::mouseClick(ie->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, ie->viewport()->mapToGlobal(at));
    QApplication::sendEvent(ie->viewport(), &event);
    QTest::qWait(50);
    EXPECT_FALSE(menuShown);
}

TEST_F(Help, AboutShowsTheStartPictureModally) {
    auto w = Start();
    bool shownModal = false;
    QSize size;
    bool picture = false;
    QTimer::singleShot(50, [&] {
        TAboutBox& about = *w->AboutBox;
        shownModal = about.isVisible() && QApplication::activeModalWidget() == &about;
        size = about.size();
        picture = about.imgAbout->HasPicture();
        QTest::mouseClick(about.imgAbout, Qt::LeftButton);
    });
    w->form.nAbout->trigger();
    EXPECT_TRUE(shownModal);
    EXPECT_EQ(size, QSize(449, 302));
    EXPECT_TRUE(picture);
    EXPECT_FALSE(w->AboutBox->isVisible());
}

#include "HelpControllerTest.moc"
