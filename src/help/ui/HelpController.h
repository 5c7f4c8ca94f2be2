#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>

class QAction;

namespace orvane {

class TImage;
struct ProgramData;
class TAboutBox;
class TfrmLesson;
class AudioEngine;
class LessonVoicePlayer;
class TfrmLesson;

// The reference menu items and the banner.
// Filled from the main window's form by HelpWidgetsOf (app/ui/ControllerWidgets.h).
struct HelpWidgets {
    QAction* nHelp;
    QAction* nManual;
    QAction* nLesson1;
    QAction* nLesson2;
    QAction* nLesson3;
    QAction* nMail;
    QAction* N1;
    QAction* nForum;
    QAction* nAbout;
    TImage* imgBanner;
};

// The "Reference" menu: help pages and lessons in the lesson window with their voice
// commentary, web links, the contact mail link and the about window.
// Lives on the user-interface thread, owned by the main window.
class HelpController : public QObject {
    Q_OBJECT

public:
    // The voice tags of the lesson window.
    static constexpr int kReferenceVoice = 0;
    static constexpr int kSmallLesson = 1;
    static constexpr int kMiddleLesson = 2;
    static constexpr int kBigLesson = 3;
    static constexpr int kNoVoice = 4;

    // The addresses of the school's web site, its forum and the contact mail link.
    static QUrl SiteAddress();
    static QUrl ForumAddress();
    static QUrl MailAddress();

    // `engine` gives the engine the lesson voices play on; it is asked for at each play.
    HelpController(HelpWidgets widgets, ProgramData& data, const std::unique_ptr<TfrmLesson>& frmLesson, const std::unique_ptr<TAboutBox>& AboutBox, std::function<AudioEngine*()> engine);
    ~HelpController() override;

    // Connects the widgets of this subsystem to their handlers.
    void Connect();

    void nHelpClick();
    void nManualClick();
    void nLesson1Click();
    void nLesson2Click();
    void nLesson3Click();
    void nMailClick();
    void N1Click();
    void nForumClick();
    void nAboutClick();
    void imgBannerClick();
    // The lesson window closed: stops and closes the voice named by its tag.
    void LessonFormClose(int tag);

    // The voice players MP3Ref, MP3Small, MP3Middle, MP3Big by tag 0..3.
    LessonVoicePlayer& Voice(int tag);

private:
    // The lesson window, its close connected to LessonFormClose (it is created after Connect).
    TfrmLesson& Lesson();
    void OnLessonClosed(int tag);
    // Opens a page of the program's folder with the voice of `tag` (0..3).
    void OpenVoicedPage(const QString& page, int tag);
    // Opens a web address in the user's browser; the lesson window keeps no voice.
    void OpenWebPage(const QUrl& url);
    // Stops and closes the voice that the lesson window names, if any.
    void StopCurrentVoice();

    const HelpWidgets widgets_;
    ProgramData& data_;
    const std::unique_ptr<TfrmLesson>& frmLesson_;
    const std::unique_ptr<TAboutBox>& AboutBox_;
    std::array<std::unique_ptr<LessonVoicePlayer>, 4> voices_;
};

}  // namespace orvane
