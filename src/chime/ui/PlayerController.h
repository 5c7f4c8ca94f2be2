#pragma once

#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/StepClock.h"
#include "chime/core/StepPlan.h"
#include "chime/core/TransportRequests.h"
#include "sound/core/StepSequencer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimer;
class QToolButton;
class QWidget;

namespace orvane {

class BellSetModel;
class ChimeLibrarySource;
class CombinationSource;
class FacesController;
class TPanel;
class TSlider;
struct ProgramData;
class ScoreController;
class TfrmSelSound;
class TransportModel;
class VoiceController;
class VolumeController;

// The transport's widgets: tool buttons, menu items, the progress and tempo sliders, the
// page controls, the group check boxes and the timers.
// Filled from the main window's form by PlayerWidgetsOf (app/ui/ControllerWidgets.h).
struct PlayerWidgets {
    QAction* nRew;
    QAction* nPause;
    QAction* nPlay;
    QAction* nStop;
    QAction* nFF;
    QAction* nTempUp;
    QAction* nTempDown;
    QToolButton* btnRew;
    QToolButton* btnPause;
    QToolButton* btnPlay;
    QToolButton* btnStop;
    QToolButton* btnFF;
    // Position written here; its range also by the library, its position by the score view when the
    // page changes.
    TSlider* tbProgress;
    QLineEdit* edPage;  // disabled here; enabled by the library, its text written by the score view
    QSpinBox* udPage;  // value written here and by printing; range and enabled by the library
    QToolButton* btnVolume;  // caption also written by the volume controls
    QToolButton* btnTempDown;
    QToolButton* btnTemp;
    QToolButton* btnTempUp;
    TSlider* tbVolume;  // also written by the volume controls
    TSlider* tbTemp;
    TPanel* pnlSmallBells;
    QCheckBox* cbSmall;  // read only; unchecked for a pass by the practice
    QCheckBox* cbStereo;
    QCheckBox* cbMiddle;  // read only; unchecked for a pass by the practice
    QLabel* lblLong;
    QLabel* lblPlayTime;
    QCheckBox* cbBig;  // read only; unchecked for a pass by the practice
    QCheckBox* cbShowNotes;
    QCheckBox* cbShowMovie;
    QTimer* mmTimer;  // started and stopped here; the recorder reads its interval
    QTimer* mmResetTimer;  // started here and by the voices, stopped by the faces
    // Moved here; created by the layout, shown and hidden by the score view.
    std::array<QPointer<QWidget>, 3>& Markers;
};

// The playback engine and its transport: the step timer mmTimer, playing a step, play, pause,
// stop, winding, the progress and tempo sliders, the page selector and the durations.
//
// Timing: with an output open, the chime's step plan is handed to the engine's sequencer, which
// starts every step's voices at its exact frame from the audio callback; play, pause, stop,
// winding, the tempo, the progress slider and the group check boxes are commands to it. The
// timer then only follows what the sequencer has played: position, page, markers, elapsed time,
// faces, the volume controls and the sweep every 64 steps. The grid starts at the output frame
// of the Play (or tempo change) plus the look-ahead. Without an output the timer plays the
// steps itself, silently. Key strikes are not scheduled.
//
// The player owns the TransportModel: it alone writes it, and the other controllers ask it
// through TransportRequests.
//
// What follows a pass (the next custom chime of "Play all", the next random combination) is
// asked of the chime library and of casual reproduction through narrow interfaces; they call
// this controller, never the other way round.
//
// Lives on the user-interface thread, owned by the main window; every member runs there.
class PlayerController : public QObject, public TransportRequests {
    Q_OBJECT

public:
    using TimePoint = StepClock::TimePoint;

    PlayerController(PlayerWidgets widgets, ProgramData& data, BellSetModel& bells, TransportModel& transport, const std::unique_ptr<TfrmSelSound>& frmSelSound, VolumeController& volume, VoiceController& voices, ScoreController& score, ChimeLibrarySource& library, FacesController& faces, CombinationSource& casual);

    // Connects the transport buttons, their menu items, the sliders and the timer.
    void Connect();

    // Stops playback and empties the chime score; casual mode goes off unless keep-casual was
    // set (which is cleared in any case).
    void ResetPlayer();
    // "Tempo: " + (1050 - interval) on btnTemp, then tbTemp moved to the interval.
    void ShowTempo();
    // The general duration on lblLong and as the hint of tbProgress.
    void ShowTotalDuration();
    // The elapsed time at the step position on lblPlayTime.
    void ShowElapsedTime();
    // Moves the three position markers to the column of the step position.
    void PlaceMarkers();

    // Handlers.
    void mmTimerTimer();
    void btnPlayClick();
    void btnPauseClick();
    void btnStopClick();
    void btnRewClick();
    void btnFFClick();
    void tbProgressChange();
    void tbTempChange();
    void nTempUpClick();
    void nTempDownClick();

    // Plays step index of the combined step list: volume marks, animation and one voice per
    // sounding bell. onGrid: the step is the current tick's, and its voices start at the tick's
    // frame on the grid; otherwise they start at the next audio buffer.
    void PlayStep(int step, bool onGrid);

    // Shows page (1-based) in the page selector without running its click handler.
    void ShowPage(int page);
    // The transport's values, written here alone.
    void RequestPage(int page) override;
    void RequestPosition(int position) override;
    void RequestStudyMode(bool on) override;
    void RequestCasualMode() override;
    // Enables the playback timer (when not running) at the step interval; its grid starts now.
    void StartTimer();
    bool Playing() const;
    // The next player reset keeps casual mode.
    void SetKeepCasual() { keepCasual_ = true; }
    bool KeepCasual() const { return keepCasual_; }

    // What the chime score loader calls while it loads a score into the main window's
    // TChannels: the faces for chord groups, the tempo and the duration.
    ChimeScoreObserver& ScoreObserver() { return observer_; }

    // The source of "now" for the timing; the steady clock unless replaced (tests and
    // measurements give their own, e.g. the time of an offline output).
    void SetClock(std::function<TimePoint()> clock);
    const StepClock& Timing() const { return clock_; }
    // On (the default): the voices of a tick start on the grid. Off: they start at the next
    // audio buffer after the tick has run, for measuring what the grid gains.
    void SetStepScheduling(bool on) { scheduling_ = on; }
    // Release workers started by ticks, for tests.
    int ReleaseWorkersStarted() const { return releaseWorkers_; }

    // The combined step list was changed in place (a study chime added or taken away), or the
    // sound folder: a playing sequence goes on with the new plan from the next audio buffer.
    void StepListChanged();
    // The sequencer's count of steps played that the window shows (step 0 of a Play counts as
    // shown at once); a tick shows more when the sequencer has played more.
    std::uint64_t StepsShown() const { return shownPlayed_; }
    // Runs at the start of every tick before the sequencer's state is read (offline renders
    // in tests and measurements).
    void SetBeforeFollow(std::function<void()> hook) { beforeFollow_ = std::move(hook); }

signals:
    // A step sounds: the output frame at which its strokes start (on the grid, or the next
    // buffer), whether or not any of its bells sounds. With the engine's sequencer a step is
    // reported when the timer has seen it sound (step 0 of a Play when the Play is sent).
    void StepSounded(int step, qint64 frame);

private:
    // The current page follows the step position: the page selector shows it and the score view
    // is redrawn when it changed.
    void FollowPage();
    class Observer final : public ChimeScoreObserver {
    public:
        explicit Observer(PlayerController& player) : player_(player) {}
        void ClearGroupFrames(QChar letter) override;
        void ShowTempo() override;
        void ShowTotalDuration() override;

    private:
        PlayerController& player_;
    };

    void Tick();
    // A tick with the sequencer playing: shows what it has played since the last one.
    void Follow();
    // The window after the steps up to the sequencer's position: slider, page, faces,
    // volume controls, markers, elapsed time and the sweep when `played` steps crossed one.
    void ShowPlayed(int position, std::uint64_t played);
    // StepSounded for the `steps` steps up to `position` that the sequencer has played.
    void ReportSounded(int position, std::uint64_t steps);
    // The display side of a step: step sound list, faces and the reset timer.
    void ShowStep(int step);
    // True when the engine's sequencer plays the steps (an output is open).
    bool Sequenced() const;
    StepContext Context();
    // What the plan in the sequencer was built from.
    struct PlanSource {
        QStringList steps;
        QString bells;
        QString types;
        QStringList column;
        QString folder;
        bool operator==(const PlanSource&) const = default;
    };
    PlanSource SourceOf(const StepContext& context) const;
    // The step position to the sequencer: the next step it plays is the one after it.
    void SendPosition();
    // The plan of the combined step list, handed over only when the list, the bell set or the
    // sound column differ from those of the last one.
    void LoadPlan();
    // Hands the transport state to the sequencer and starts it at the look-ahead frame.
    void StartSequencer();
    ChimeEnd EndMode() const;
    void SendEnd();
    void SendGroups();
    std::int64_t LookAheadFrame();
    // Plans the custom chime after the selected one and queues it, so that "Play all" goes on
    // without a gap; nothing when "Play all" is off or the next entry is not a custom chime.
    void QueueNextCustomChime();
    // Plans the next random combination (drawn now, applied at the pass end) and queues it.
    void QueueNextCombination();
    // The sequencer went on with the queued plan: the window loads its chime or combination
    // to match, and the one after it is queued.
    void AdoptNextPlan();
    // Queues what follows the pass by the end mode, held on (StepSequencer::QueueNext) so that a
    // window away for longer than the whole next pass finds it playing again, not stopped;
    // when nothing follows, tells the sequencer so.
    void QueueNextPlan();
    // Back to step 0: the timer stops, the slider, page and markers show the first step.
    void BackToStepZero();
    // Moves the progress slider to the step position without running its change handler.
    void ShowPosition();
    // The sound file of each catalogue bell (native paths, relative to the sound folder),
    // read once per bell set.
    QStringList SoundColumn();
    void Stop();
    void NextCustomChime();
    // The check box "Score": the score view is shown.
    bool ScoreShown() const;
    // Gives the timer the step interval; a running timer starts a new grid.
    void ApplyInterval();
    TimePoint Now() const;

    const PlayerWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    TransportModel& transport_;
    const std::unique_ptr<TfrmSelSound>& frmSelSound_;
    VolumeController& volume_;
    VoiceController& voices_;
    ScoreController& score_;
    ChimeLibrarySource& library_;
    FacesController& faces_;
    CombinationSource& casual_;
    Observer observer_;
    StepClock clock_;
    std::function<TimePoint()> now_;
    QStringList soundColumn_;
    std::optional<PlanSource> planned_;
    std::optional<PlanSource> queued_;  // what the queued plan was built from
    std::uint64_t planSerial_ = 0;      // the sequencer's serial of the planned_ plan
    std::uint64_t shownPlayed_ = 0;
    std::uint64_t shownPasses_ = 0;
    std::uint64_t shownEnds_ = 0;
    std::uint64_t queuedPlan_ = 0;  // the sequencer's serial of the queued custom chime
    std::optional<ChimeEnd> sentEnd_;
    bool adopting_ = false;
    bool following_ = false;
    std::function<void()> beforeFollow_;
    bool keepCasual_ = false;
    bool scheduling_ = true;
    int releaseWorkers_ = 0;
};

}  // namespace orvane
