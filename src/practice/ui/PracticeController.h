#pragma once

#include "practice/core/PracticeReport.h"
#include "practice/core/PracticeSettings.h"
#include "practice/core/StrokeMatcher.h"
#include "practice/ui/PracticeOverlay.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QMenu;
class QTimer;
class QToolButton;
class QWidget;

namespace orvane {

class BellSetModel;
class TPanel;
class PlayerController;
class PracticeOverlay;
class PrintController;
struct ProgramData;
class ScoreController;
class TfrmPractice;
class TfrmPracticeResult;
class TransportModel;
class VoiceController;

// The practice's widgets: it adds its own item and button beside these.
// Filled from the main window's form by PracticeWidgetsOf (app/ui/ControllerWidgets.h).
struct PracticeWidgets {
    QMenu* mPlayer;
    QAction* nGenerator;
    TPanel* pnlTools;
    QToolButton* btnDisselectAll;
    QCheckBox* cbSmall;  // unchecked for a pass and restored here
    QCheckBox* cbGrid;
    QCheckBox* cbMiddle;  // unchecked for a pass and restored here
    QCheckBox* cbBig;  // unchecked for a pass and restored here
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;  // read only; created by the bell set
};

// Ring-along practice: the learner rings the practised groups of the loaded chime while the
// player rings the others. A pass silences the practised groups (their check boxes are switched
// off for the pass and restored after it), counts in one bar, plays the chime from step 0, and
// matches every stroke (VoiceController::BellStruck) to the expected notes on the steps' output
// frames (PlayerController::StepSounded). The score shows the marks as the pass goes; at its end
// (or Stop) the result window opens and the pass is added to the practice history.
//
// Owns the menu item "Ring along ..." of the "Player" menu, its button on the tools panel, the
// panel, the score overlays and the result window. Stores nothing but the panel's choices (its
// own settings section) and the history. Lives on the user-interface thread, owned by the main
// window.
class PracticeController : public QObject {
    Q_OBJECT

  public:
    using MessageFunction = std::function<void(const QString& text)>;
    enum class State { Idle, CountIn, Ringing };

    PracticeController(QWidget& window, PracticeWidgets widgets, ProgramData& data, BellSetModel& bells,
                       TransportModel& transport, PlayerController& player, VoiceController& voices,
                       ScoreController& score, PrintController& print, MessageFunction message);
    ~PracticeController() override;

    // Adds the menu item and the tools-panel button and connects them, the player and the voices.
    void Connect();

    // Handlers.
    void nRingAlongClick();  // opens (or raises) the panel
    void btnStartClick();
    void btnStopClick();

    // Starts a pass with the panel's choices; false (with a message) without a chime or group.
    bool StartPass();
    // Ends the pass now: decides what was rung, restores the group check boxes, adds the pass to
    // the history and shows the result.
    void FinishPass();
    // Follows the clock of the output: decides closed windows, shows the figures and marks.
    void Poll();

    State CurrentState() const { return state_; }
    const StrokeMatcher* Matcher() const { return matcher_.get(); }
    TfrmPractice* Panel() const;
    TfrmPracticeResult* ResultWindow() const;
    QAction* MenuItem() const { return nRingAlong_; }
    QToolButton* Button() const { return btnRingAlong_; }
    const std::array<QPointer<PracticeOverlay>, 3>& Overlays() const { return overlays_; }
    // The history file: the user's data folder unless replaced.
    QString HistoryPath() const;
    void SetHistoryPath(const QString& path) { historyPath_ = path; }
    // The source of "now" on the steady clock; the steady clock unless replaced (tests give the
    // time of an offline output, as they give it to the player).
    void SetClock(std::function<std::chrono::steady_clock::time_point()> clock) { now_ = std::move(clock); }
    // The frame of the count-in's first click and of the expected first step (tests).
    std::int64_t CountInFrame() const { return countInFrame_; }

  private:
    void EnsurePanel();
    void EnsureOverlays();
    void StartRinging();
    void ScheduleClicks(std::int64_t firstFrame, std::int64_t intervalFrames);
    void CloseClickVoices();
    void SaveChoices();
    void RestoreGroupBoxes();
    PracticeReport MakeReport(const PracticeSummary& summary);
    // The loaded chime's name for the history: the caption's, or the chosen study chimes'.
    QString ChimeName() const;
    std::chrono::steady_clock::time_point Now() const;
    std::int64_t NowFrame() const;
    std::int64_t IntervalFrames() const;

    QWidget& window_;
    const PracticeWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    TransportModel& transport_;
    PlayerController& player_;
    VoiceController& voices_;
    ScoreController& score_;
    PrintController& print_;
    MessageFunction message_;

    QAction* nRingAlong_ = nullptr;
    QToolButton* btnRingAlong_ = nullptr;
    QPointer<TfrmPractice> panel_;
    QPointer<TfrmPracticeResult> result_;
    // Children of the score images, which the window frees at its shutdown.
    std::array<QPointer<PracticeOverlay>, 3> overlays_{};
    QTimer* poll_ = nullptr;
    QTimer* countIn_ = nullptr;

    State state_ = State::Idle;
    std::unique_ptr<StrokeMatcher> matcher_;
    std::array<bool, 3> practised_{};
    std::array<bool, 3> savedBoxes_{true, true, true};
    bool boxesSwitched_ = false;
    bool playerStarted_ = false;
    std::int64_t countInFrame_ = 0;
    int lastStep_ = -1;
    // What the pass was rung on: its marks are shown only while the score is still this one.
    QStringList passSteps_;
    BellSet passBells_;
    QString passChime_;
    int passIntervalMs_ = 0;
    std::vector<int> clickVoices_;
    QString historyPath_;
    std::function<std::chrono::steady_clock::time_point()> now_;
};

}  // namespace orvane
