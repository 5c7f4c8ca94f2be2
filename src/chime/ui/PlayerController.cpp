#include "chime/ui/PlayerController.h"

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "app/core/TextFile.h"
#include "app/ui/MainForm.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/TBellData.h"
#include "chime/core/StepPlan.h"
#include "chime/core/TChannels.h"
#include "chime/core/Transport.h"
#include "chime/core/TransportModel.h"
#include "chime/ui/CasualController.h"
#include "chime/ui/LibraryController.h"
#include "chime/ui/TfrmSelSound.h"
#include "score/ui/ScoreController.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/VoicePlayer.h"
#include "sound/ui/VoiceController.h"
#include "sound/ui/VolumeController.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

namespace orvane {


void PlayerController::Observer::ClearGroupFrames(QChar letter) {
    player_.faces_.ClearGroupFrames(letter);
}

void PlayerController::Observer::ShowTempo() {
    player_.ShowTempo();
}

void PlayerController::Observer::ShowTotalDuration() {
    player_.ShowTotalDuration();
}

PlayerController::PlayerController(MainForm& form, ProgramData& data, BellSetModel& bells, TransportModel& transport, const std::unique_ptr<TfrmSelSound>& frmSelSound, VolumeController& volume, VoiceController& voices, ScoreController& score, LibraryController& library, FacesController& faces, CasualController& casual)
    : form_(form), data_(data), bells_(bells), transport_(transport), frmSelSound_(frmSelSound), volume_(volume), voices_(voices), score_(score), library_(library), faces_(faces), casual_(casual), observer_(*this) {
    connect(&bells_, &BellSetModel::BellsChanged, this, [this] { soundColumn_.clear(); });
}

void PlayerController::Connect() {
    MainForm& f = form_;
    connect(f.mmTimer, &QTimer::timeout, this, [this] { mmTimerTimer(); });
    Wire(f.btnPlay, &QToolButton::clicked, f.nPlay, &QAction::trigger);
    Wire(f.nPlay, &QAction::triggered, this, &PlayerController::btnPlayClick);
    Wire(f.btnPause, &QToolButton::clicked, f.nPause, &QAction::trigger);
    Wire(f.nPause, &QAction::triggered, this, &PlayerController::btnPauseClick);
    Wire(f.btnStop, &QToolButton::clicked, f.nStop, &QAction::trigger);
    Wire(f.nStop, &QAction::triggered, this, &PlayerController::btnStopClick);
    Wire(f.btnRew, &QToolButton::clicked, f.nRew, &QAction::trigger);
    Wire(f.nRew, &QAction::triggered, this, &PlayerController::btnRewClick);
    Wire(f.btnFF, &QToolButton::clicked, f.nFF, &QAction::trigger);
    Wire(f.nFF, &QAction::triggered, this, &PlayerController::btnFFClick);
    Wire(f.btnTempUp, &QToolButton::clicked, f.nTempUp, &QAction::trigger);
    Wire(f.nTempUp, &QAction::triggered, this, &PlayerController::nTempUpClick);
    Wire(f.btnTempDown, &QToolButton::clicked, f.nTempDown, &QAction::trigger);
    Wire(f.nTempDown, &QAction::triggered, this, &PlayerController::nTempDownClick);
    Wire(f.tbProgress, &QSlider::valueChanged, this, &PlayerController::tbProgressChange);
    Wire(f.tbTemp, &QSlider::valueChanged, this, &PlayerController::tbTempChange);
}

void PlayerController::SetClock(std::function<TimePoint()> clock) {
    now_ = std::move(clock);
}

PlayerController::TimePoint PlayerController::Now() const {
    return now_ ? now_() : StepClock::Clock::now();
}

bool PlayerController::ScoreShown() const {
    return form_.cbShowNotes->isChecked();
}

bool PlayerController::Playing() const {
    return form_.mmTimer->isActive();
}

void PlayerController::ShowPage(int page) {
    form_.udPage->setValue(page);
}

void PlayerController::ApplyInterval() {
    QTimer* timer = form_.mmTimer;
    const int interval = data_.Channels->StepInterval;
    if (timer->interval() == interval) {
        return;
    }
    // A running timer starts over with the new interval: a new grid.
    timer->setInterval(interval);
    if (timer->isActive()) {
        clock_.Anchor(Now(), interval);
    }
}

void PlayerController::StartTimer() {
    QTimer* timer = form_.mmTimer;
    if (timer->isActive()) {
        return;
    }
    timer->setInterval(data_.Channels->StepInterval);
    timer->start();
    clock_.Anchor(Now(), timer->interval());
}

// ---- Ticks and steps ----

void PlayerController::mmTimerTimer() {
    Guarded([&] { Tick(); });
}

void PlayerController::Tick() {
    clock_.Advance(Now());
    TickState state;
    state.position = transport_.StepPosition;
    state.stepCount = static_cast<int>(data_.Channels->Steps.size());
    state.currentPage = transport_.CurrentPage;
    state.studyMode = transport_.StudyMode;
    state.playAll = frmSelSound_ && frmSelSound_->cbRound->isChecked();
    state.casualMode = transport_.CasualMode;
    const TickPlan plan = PlanTick(state);
    if (plan.stop) {
        Stop();
        return;
    }
    if (plan.nextCustomChime) {
        NextCustomChime();
        if (!Playing()) {
            Stop();  // the next custom chime could not be loaded
            return;
        }
    }
    if (plan.drawCombination) {
        casual_.DrawCombination();
    }
    transport_.StepPosition = plan.position;
    ShowPosition();
    FollowPage();
    PlayStep(transport_.StepPosition, true);
    PlaceMarkers();
    ShowElapsedTime();
    if (plan.startReleaseWorker) {
        ++releaseWorkers_;
        voices_.StartReleaseWorker();
    }
}

void PlayerController::NextCustomChime() {
    MainForm& f = form_;
    f.tbProgress->setEnabled(false);
    QListWidget* list = frmSelSound_->lbSounds;
    if (list->count() > 0) {
        list->setCurrentRow((list->currentRow() + 1) % list->count());
    }
    BackToStepZero();
    if (ScoreShown()) {
        score_.RedrawScore();
    }
    Guarded([&] { library_.LoadNextCustomChime(); });
    f.tbProgress->setEnabled(true);
}

void PlayerController::PlayStep(int step, bool onGrid) {
    MainForm& f = form_;
    TChannels& channels = *data_.Channels;
    StepContext context;
    context.bellSet = bells_.Bells;
    context.groupChecked = {f.cbSmall->isChecked(), f.cbMiddle->isChecked(), f.cbBig->isChecked()};
    context.animation = f.cbShowMovie->isChecked();
    context.groupAnimation = channels.GroupAnimation;
    context.volumeLevel = volume_.GetVolume();
    context.soundFolder = data_.AppPath.SoundDir;
    context.soundColumn = SoundColumn();
    const StepPlan plan = PlanStep(channels.Steps, step, context);
    channels.RawLines = plan.soundFiles;
    channels.StepSounds = plan.soundFiles;

    AudioEngine& engine = voices_.Engine();
    std::optional<std::int64_t> start;
    if (onGrid && scheduling_) {
        start = clock_.StartFrame(engine.FrameAt(clock_.Ideal()), engine.SampleRate());
    }
    emit StepSounded(step, start.value_or(engine.FramesRendered()));
    for (const StepAction& action : plan.actions) {
        Guarded([&] {
            switch (action.kind) {
                case StepAction::Kind::SetVolume:
                    volume_.SetLevelFromScore(action.value);
                    break;
                case StepAction::Kind::AnimateBell:
                    faces_.AnimateBell(action.value);
                    break;
                case StepAction::Kind::OpenSound:
                    voices_.Player().StartPlaybackVoice(action.file, start);
                    break;
                case StepAction::Kind::StartResetTimer:
                    f.mmResetTimer->start();
                    break;
            }
        });
    }
}

QStringList PlayerController::SoundColumn() {
    if (soundColumn_.isEmpty()) {
        for (int bell = 0; bell < TBellData::kBellCount; ++bell) {
            soundColumn_.append(NativePath(data_.BellData->Cell(TBellData::kSound, bell)));
        }
    }
    return soundColumn_;
}

// ---- Transport ----

void PlayerController::btnPlayClick() {
    const int count = static_cast<int>(data_.Channels->Steps.size());
    const bool wasPlaying = Playing();
    if (count > 0) {
        form_.tbProgress->SetMax(count);
        StartTimer();
    }
    if (transport_.StepPosition == 0) {
        // Step 0 is due now: the first tick of the new grid, or at once when the timer was
        // running already (or cannot run).
        PlayStep(0, Playing() && !wasPlaying);
    }
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::btnPauseClick() {
    form_.mmTimer->stop();
}

void PlayerController::btnStopClick() {
    Stop();
}

void PlayerController::Stop() {
    BackToStepZero();
    if (ScoreShown()) {
        score_.RedrawScore();
    }
    if (frmSelSound_) {
        frmSelSound_->cbRound->setChecked(false);
    }
    ShowElapsedTime();
    transport_.CasualMode = false;
}

void PlayerController::btnRewClick() {
    transport_.StepPosition = RewindPosition(transport_.StepPosition);
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::btnFFClick() {
    transport_.StepPosition =
        ForwardPosition(transport_.StepPosition, static_cast<int>(data_.Channels->Steps.size()));
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::FollowPage() {
    const int page = PageOf(transport_.StepPosition);
    const bool pageChanged = page != transport_.CurrentPage;
    transport_.CurrentPage = page;
    ShowPage(page + 1);
    if (ScoreShown() && pageChanged) {
        score_.RedrawScore();
    }
}

void PlayerController::BackToStepZero() {
    form_.mmTimer->stop();
    transport_.StepPosition = 0;
    ShowPosition();
    transport_.CurrentPage = 0;
    ShowPage(1);
    PlaceMarkers();
}

void PlayerController::ShowPosition() {
    const QSignalBlocker quiet(form_.tbProgress);
    form_.tbProgress->SetPosition(transport_.StepPosition);
}

void PlayerController::tbProgressChange() {
    transport_.StepPosition = form_.tbProgress->Position();
    FollowPage();
    PlaceMarkers();
}

void PlayerController::ResetPlayer() {
    MainForm& f = form_;
    TChannels& channels = *data_.Channels;
    channels.SmallSteps.clear();
    channels.MiddleSteps.clear();
    channels.BigSteps.clear();
    channels.Steps.clear();
    BackToStepZero();
    f.edPage->setEnabled(false);
    f.udPage->setEnabled(false);
    if (ScoreShown()) {
        score_.DrawScoreGrid();
    }
    channels.GroupAnimation = {true, true, true};
    if (f.cbShowMovie->isChecked()) {
        faces_.ShowRestFrames();
    }
    ShowElapsedTime();
    if (!keepCasual_) {
        transport_.CasualMode = false;
    }
    keepCasual_ = false;
}

// ---- Tempo and times ----

void PlayerController::tbTempChange() {
    data_.Channels->StepInterval = form_.tbTemp->Position();
    ApplyInterval();
    form_.btnTemp->setText(TempoCaption(data_.Channels->StepInterval));
    ShowTotalDuration();
}

void PlayerController::nTempUpClick() {
    form_.tbTemp->SetPosition(FasterPosition(form_.tbTemp->Position()));
    tbTempChange();
}

void PlayerController::nTempDownClick() {
    form_.tbTemp->SetPosition(SlowerPosition(form_.tbTemp->Position()));
    tbTempChange();
}

void PlayerController::ShowTempo() {
    MainForm& f = form_;
    f.btnTemp->setText(TempoCaption(data_.Channels->StepInterval));
    f.tbTemp->SetPosition(data_.Channels->StepInterval);
    ApplyInterval();
}

void PlayerController::ShowTotalDuration() {
    const QString text =
        GeneralDurationText(data_.Channels->Steps.size(), data_.Channels->StepInterval);
    form_.tbProgress->setToolTip(text);
    form_.lblLong->setText(text);
}

void PlayerController::ShowElapsedTime() {
    form_.lblPlayTime->setText(ElapsedText(transport_.StepPosition, data_.Channels->StepInterval));
}

void PlayerController::PlaceMarkers() {
    const int left = MarkerLeft(transport_.StepPosition, form_.pnlSmallBells->width());
    for (QWidget* marker : form_.Markers) {
        if (marker) {
            marker->move(left, 4);
        }
    }
}

}  // namespace orvane
