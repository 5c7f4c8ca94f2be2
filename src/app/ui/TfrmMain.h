#pragma once

#include "animation/ui/FacesController.h"
#include "app/core/MainCaption.h"
#include "app/core/ProgramData.h"
#include "app/core/ViewModel.h"
#include "app/ui/LayoutController.h"
#include "app/ui/MainForm.h"
#include "app/ui/SettingsController.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/DataFileCheck.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/ui/GroupsController.h"
#include "chime/core/TransportModel.h"
#include "chime/ui/CasualController.h"
#include "chime/ui/LibraryController.h"
#include "chime/ui/PlayerController.h"
#include "help/ui/HelpController.h"
#include "practice/ui/PracticeController.h"
#include "recorder/core/RecorderModel.h"
#include "recorder/ui/RecorderController.h"
#include "score/ui/PrintController.h"
#include "chime/ui/ExportController.h"
#include "score/ui/ScoreController.h"
#include "sound/ui/InstrumentController.h"
#include "sound/ui/KeyHook.h"
#include "sound/ui/StripController.h"
#include "sound/ui/VoiceController.h"
#include "sound/ui/VolumeController.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <random>

namespace orvane {

class AudioOutput;
class InstallerRun;
class TAboutBox;
class TfrmPrint;
class TfrmSoundSaveDlg;
class TfrmSelSound;
class TfrmLesson;

// How the main window is started: the program folder, the command-line arguments (without
// the program name), where the temporary sound folders go, and how message boxes are shown
// (tests record them instead of waiting for a click).
struct StartOptions {
    QString appDir;
    QStringList arguments;
    QString cacheDir;
    QString payloadResource = QStringLiteral(":/payload/Setup");
    // The chime library installer, when the program started it already (InstallerRun): the
    // installer step waits for it instead of starting it. Empty: the step writes and runs it.
    std::shared_ptr<InstallerRun> installer;
    std::function<void(const QString& title, const QString& text)> messageBox;
    // Makes the sound output; empty: the sound device (SDL). Tests give an offline output.
    std::function<std::unique_ptr<AudioOutput>()> outputFactory;
    // True once the program has been asked to end (SIGTERM): the start-up sequence stops waiting
    // for the chime library installer, ends it and shows no message. Empty: never asked.
    std::function<bool()> askedToEnd;
    // MIDI input: every MIDI source of the system is opened (false: none, for tests).
    bool midi = true;
    // The instrument controls (the user's keys and notes, the key labels, MIDI input) are
    // started by StartInstrument() rather than by the constructor, so that the program can map
    // its window first. Nothing reaches the window in between: no events are processed.
    bool instrumentLater = false;
};

// The main window. It owns every long-lived object of the program, runs the start-up sequence
// in its fixed order (FormCreate, from the constructor), the close query and the destruction,
// and connects the widgets to the controllers that hold the event handlers. Everything here
// runs on the user-interface thread.
class TfrmMain : public QMainWindow, public BadDataFileReporter {
    Q_OBJECT

public:
    static constexpr const char* kTitle = kProgramTitle;
    static QString DefaultCaption() { return DefaultMainCaption(); }

    explicit TfrmMain(StartOptions options, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Creates the five secondary windows in their order; the program entry calls it right after
    // the main window exists.
    void CreateSecondaryWindows();
    // Starts the instrument controls when the options asked for them later; does nothing after
    // a start that is ending, or when they are started already.
    void StartInstrument();

    // The fatal data-file check: a missing file shows the fatal message and ends the program.
    void CheckDataFile(const QString& path);
    void ReportBadDataFile(const QString& path) override;
    // True once the end of the program has been requested by a fatal data-file error.
    bool Terminating() const override { return terminating_; }
    // Shows a plain message box with an OK button; closed at once once the end is requested.
    void ShowMessage(const QString& text);

    bool IsRecordStart() const;
    // True when the command line asks for the recording start ("record"), which skips the
    // chime library installer.
    static bool IsRecordStart(const QStringList& arguments);
    // Steps of the start-up sequence that finished (1 to 22), for tests and measurements.
    const QList<int>& CompletedSteps() const { return completedSteps_; }
    // The voice list: the open voice aliases, oldest first.
    const QStringList& VoiceList() const;

    void nExitClick();

signals:
    void StartupFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // What the window owns, in the order of construction (destroyed in the reverse order, after
    // the shutdown sequence has run). Protected: the whole-window tests expose them.
    MainForm form;
    StartOptions options;
    ProgramData data;
    BellSetModel bellModel;
    TransportModel transportModel;
    RecorderModel recorderModel;
    ViewModel viewModel;
    // The program's random number source, seeded from the clock at start-up.
    std::mt19937 rng;

    // The controllers. Each is given references to its collaborators, some of which are
    // constructed after it; no constructor calls a collaborator.
    SettingsController settings;
    LayoutController layout;
    StripController strip;
    BellSetController bellSet;
    GroupsController groups;
    VoiceController voices;
    VolumeController volume;
    KeyHook keyHook;
    PlayerController player;
    LibraryController library;
    CasualController casual;
    ScoreController score;
    PrintController print;
    ExportController exporter;
    FacesController faces;
    RecorderController recorder;
    HelpController help;
    PracticeController practice;
    // Last: destroyed first, so MIDI input stops before anything it strikes through.
    InstrumentController instrument;

    // The secondary windows, created after the main window, hidden until used.
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TfrmPrint> frmPrint;
    std::unique_ptr<TfrmSoundSaveDlg> frmSoundSaveDlg;
    std::unique_ptr<TfrmSelSound> frmSelSound;
    std::unique_ptr<TfrmLesson> frmLesson;

private:
    void FormCreate();
    void FormCloseQuery();
    void FormDestroy();
    void BuildAddBellMenu();
    void ConnectHandlers();
    template <class F>
    void Step(int number, F&& f);

    bool terminating_ = false;
    bool created_ = false;
    QList<int> completedSteps_;
};

}  // namespace orvane
