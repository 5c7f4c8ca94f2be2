#pragma once

#include "app/ui/MainForm.h"
#include "app/core/TAppPath.h"
#include "catalogue/core/BellSet.h"
#include "catalogue/core/DataFileCheck.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <random>

class QComboBox;

namespace orvane {

class AudioOutput;
class IniFile;
class TBellData;
class TSoundData;
class TChannels;
class TImage;
class SettingsController;
class LayoutController;
class StripController;
class BellSetController;
class GroupsController;
class VoiceController;
class VolumeController;
class KeyHook;
class PlayerController;
class LibraryController;
class CasualController;
class ScoreController;
class PrintController;
class ExportController;
class FacesController;
class RecorderController;
class HelpController;
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
    std::function<void(const QString& title, const QString& text)> messageBox;
    // Makes the sound output; empty: the sound device (SDL). Tests give an offline output.
    std::function<std::unique_ptr<AudioOutput>()> outputFactory;
};

// The main window. It owns every long-lived object of the program, runs the start-up sequence
// in its fixed order (FormCreate, from the constructor), the close query and the destruction,
// and connects the widgets to the controllers that hold the event handlers. Everything here
// runs on the user-interface thread.
class TfrmMain : public QMainWindow, public BadDataFileReporter {
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Orvane 1.0 beta 2";
    static QString DefaultCaption();

    explicit TfrmMain(StartOptions options, QWidget* parent = nullptr);
    ~TfrmMain() override;

    MainForm form;
    StartOptions options;

    // Application paths and the temporary sound folders.
    TAppPath AppPath;
    QString MonoTempDir;
    QString StereoTempDir;

    // Long-lived objects, created by the start-up sequence.
    std::unique_ptr<IniFile> Settings;
    std::unique_ptr<TBellData> BellData;
    std::unique_ptr<TSoundData> SoundData;
    std::unique_ptr<TChannels> Channels;
    // The voice list: the open voice aliases, oldest first. It lives in the voice player that
    // the voice controller owns.
    const QStringList& VoiceList() const;

    // Run-time state shared by the subsystems.
    BellSet Bells;
    bool ShowTools = true;
    bool ShowBells = true;
    bool ShowInfo = true;
    bool ShowGroups = true;
    int CurrentBell = 0;
    bool KeysEnabled = false;
    int StepPosition = 0;
    int CurrentPage = 0;
    bool Recording = false;
    QString RecordText;
    quint32 RecElapsed = 0;
    bool CasualMode = false;
    bool StudyMode = false;
    bool SchematicView = false;
    int VariantIndex = 0;
    // The program's random number source, seeded from the clock at start-up.
    std::mt19937 rng;

    // Controls created at start-up from the catalogue.
    QList<QPointer<TImage>> Strip;
    std::array<QPointer<QComboBox>, 3> GroupChimeBoxes{};
    std::array<QPointer<QWidget>, 3> Markers{};
    QList<QPointer<QAction>> AddBellItems;

    // Controllers.
    std::unique_ptr<SettingsController> settings;
    std::unique_ptr<LayoutController> layout;
    std::unique_ptr<StripController> strip;
    // Controllers that are objects of the window (owned through it).
    BellSetController* bellSet;
    GroupsController* groups;
    VoiceController* voices;
    VolumeController* volume;
    KeyHook* keyHook;
    PlayerController* player;
    LibraryController* library;
    CasualController* casual;
    ScoreController* score;
    PrintController* print;
    ExportController* exporter;
    FacesController* faces;
    RecorderController* recorder;
    HelpController* help;

    // The secondary windows, created after the main window, hidden until used.
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TfrmPrint> frmPrint;
    std::unique_ptr<TfrmSoundSaveDlg> frmSoundSaveDlg;
    std::unique_ptr<TfrmSelSound> frmSelSound;
    std::unique_ptr<TfrmLesson> frmLesson;
    // Creates the five secondary windows in their order; the program entry calls it right after
    // the main window exists.
    void CreateSecondaryWindows();

    // The fatal data-file check: a missing file shows the fatal message and ends the program.
    void CheckDataFile(const QString& path);
    void ReportBadDataFile(const QString& path) override;
    // True once the end of the program has been requested by a fatal data-file error.
    bool Terminating() const { return terminating_; }
    // Shows a plain message box with an OK button; closed at once once the end is requested.
    void ShowMessage(const QString& text);

    bool IsRecordStart() const;
    // Steps of the start-up sequence that finished (1 to 22), for tests and measurements.
    const QList<int>& CompletedSteps() const { return completedSteps_; }

    void nExitClick();

signals:
    void StartupFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
