#pragma once

#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/StepClock.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <memory>

namespace orvane {

class BellSetModel;
class CasualController;
class FacesController;
class LibraryController;
class MainForm;
struct ProgramData;
class ScoreController;
class TfrmSelSound;
class TransportModel;
class VoiceController;
class VolumeController;

// The playback engine and its transport: the step timer mmTimer, playing a step, play, pause,
// stop, winding, the progress and tempo sliders, the page selector and the durations.
//
// Timing: every tick carries its ideal time on the timer's grid (StepClock); the voices of a
// step start at the output frame of that time plus the look-ahead, so steps sound on an exact
// grid of the step interval even when a tick is handled late. Key strikes are not scheduled.
//
// Lives on the user-interface thread, owned by the main window; every member runs there.
class PlayerController : public QObject {
    Q_OBJECT

public:
    using TimePoint = StepClock::TimePoint;

    PlayerController(MainForm& form, ProgramData& data, BellSetModel& bells, TransportModel& transport, const std::unique_ptr<TfrmSelSound>& frmSelSound, VolumeController& volume, VoiceController& voices, ScoreController& score, LibraryController& library, FacesController& faces, CasualController& casual);

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

signals:
    // A step was handed to the engine: the output frame at which its strokes start (on the
    // grid, or the next buffer), whether or not any of its bells sounds.
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

    MainForm& form_;
    ProgramData& data_;
    BellSetModel& bells_;
    TransportModel& transport_;
    const std::unique_ptr<TfrmSelSound>& frmSelSound_;
    VolumeController& volume_;
    VoiceController& voices_;
    ScoreController& score_;
    LibraryController& library_;
    FacesController& faces_;
    CasualController& casual_;
    Observer observer_;
    StepClock clock_;
    std::function<TimePoint()> now_;
    QStringList soundColumn_;
    bool keepCasual_ = false;
    bool scheduling_ = true;
    int releaseWorkers_ = 0;
};

}  // namespace orvane
