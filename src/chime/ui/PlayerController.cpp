#include "chime/ui/PlayerController.h"

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "app/core/TextFile.h"
#include "app/ui/TPanel.h"
#include "app/ui/TSlider.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/BellSetRules.h"
#include "catalogue/core/TBellData.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/SequencePlanner.h"
#include "chime/core/StepPlan.h"
#include "chime/core/TChannels.h"
#include "chime/core/Transport.h"
#include "chime/core/TransportModel.h"
#include "chime/ui/ChimeLibrarySource.h"
#include "chime/ui/CombinationSource.h"
#include "chime/ui/TfrmSelSound.h"
#include "score/ui/ScoreController.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/VoicePlayer.h"
#include "sound/core/VolumeControl.h"
#include "sound/ui/VoiceController.h"
#include "sound/ui/VolumeController.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTemporaryDir>
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

PlayerController::PlayerController(PlayerWidgets widgets, ProgramData& data, BellSetModel& bells, TransportModel& transport, const std::unique_ptr<TfrmSelSound>& frmSelSound, VolumeController& volume, VoiceController& voices, ScoreController& score, ChimeLibrarySource& library, FacesController& faces, CombinationSource& casual)
    : widgets_(widgets), data_(data), bells_(bells), transport_(transport), frmSelSound_(frmSelSound), volume_(volume), voices_(voices), score_(score), library_(library), faces_(faces), casual_(casual), observer_(*this) {
    connect(&bells_, &BellSetModel::BellsChanged, this, [this] { soundColumn_.clear(); });
}

void PlayerController::Connect() {
    const PlayerWidgets& f = widgets_;
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
    for (QCheckBox* box : {f.cbSmall, f.cbMiddle, f.cbBig}) {
        connect(box, &QCheckBox::toggled, this, [this] { SendGroups(); });
    }
    // "Stereo" changes the sound folder once its own handler has run.
    connect(f.cbStereo, &QCheckBox::clicked, this, [this] { StepListChanged(); },
            Qt::QueuedConnection);
}

// ---- The engine's sequencer ----

bool PlayerController::Sequenced() const {
    return voices_.Engine().HasDevice();
}

StepContext PlayerController::Context() {
    const PlayerWidgets& f = widgets_;
    StepContext context;
    context.bellSet = bells_.Bells;
    context.groupChecked = {f.cbSmall->isChecked(), f.cbMiddle->isChecked(), f.cbBig->isChecked()};
    context.animation = f.cbShowMovie->isChecked();
    context.groupAnimation = data_.Channels->GroupAnimation;
    context.volumeLevel = volume_.GetVolume();
    context.soundFolder = data_.AppPath.SoundDir;
    context.soundColumn = SoundColumn();
    return context;
}

PlayerController::PlanSource PlayerController::SourceOf(const StepContext& context) const {
    return {data_.Channels->Steps, context.bellSet.StoredBells(), context.bellSet.StoredTypes(),
            context.soundColumn, context.soundFolder};
}

void PlayerController::LoadPlan() {
    const StepContext context = Context();
    PlanSource source = SourceOf(context);
    AudioEngine& engine = voices_.Engine();
    // The sequencer may have gone on to a queued plan that the window never took over.
    if (planned_ && *planned_ == source && engine.Sequencer().CurrentPlan() == planSerial_) {
        return;
    }
    planned_.reset();
    if (engine.LoadSequence(PlanSequence(source.steps, context))) {
        planned_ = std::move(source);
        planSerial_ = engine.LastPlanSerial();
    }
}

void PlayerController::StepListChanged() {
    if (!Sequenced() || adopting_ || !Playing()) {
        return;
    }
    const StepContext context = Context();
    PlanSource source = SourceOf(context);
    if (planned_ && *planned_ == source) {
        return;
    }
    planned_.reset();
    AudioEngine& engine = voices_.Engine();
    if (engine.ReplaceSequence(PlanSequence(source.steps, context))) {
        planned_ = std::move(source);
        planSerial_ = engine.LastPlanSerial();
    }
}

ChimeEnd PlayerController::EndMode() const {
    if ((frmSelSound_ && frmSelSound_->cbRound->isChecked()) || transport_.CasualMode) {
        return ChimeEnd::kNextPlan;
    }
    return transport_.StudyMode ? ChimeEnd::kRepeat : ChimeEnd::kStop;
}

void PlayerController::SendEnd() {
    const ChimeEnd end = EndMode();
    if (sentEnd_ != end && voices_.Engine().Sequencer().SetEnd(end)) {
        sentEnd_ = end;
    }
}

void PlayerController::SendGroups() {
    if (!Sequenced()) {
        return;
    }
    const PlayerWidgets& f = widgets_;
    voices_.Engine().Sequencer().SetGroups(f.cbSmall->isChecked(), f.cbMiddle->isChecked(),
                                           f.cbBig->isChecked());
}

void PlayerController::SendPosition() {
    if (Sequenced() && !following_) {
        voices_.Engine().Sequencer().SetPosition(transport_.StepPosition);
    }
}

std::int64_t PlayerController::LookAheadFrame() {
    AudioEngine& engine = voices_.Engine();
    clock_.Anchor(Now(), data_.Channels->StepInterval);
    return clock_.StartFrame(engine.FrameAt(clock_.Ideal()), engine.SampleRate());
}

void PlayerController::StartSequencer() {
    StepSequencer& sequencer = voices_.Engine().Sequencer();
    LoadPlan();
    sequencer.SetPosition(transport_.StepPosition);
    SendGroups();
    sequencer.SetInterval(data_.Channels->StepInterval);
    sentEnd_.reset();
    SendEnd();
    // Step 0 of a Play from the start is shown at once.
    shownPlayed_ = sequencer.StepsPlayed() + (transport_.StepPosition == 0 ? 1 : 0);
    shownPasses_ = sequencer.Passes();
    shownEnds_ = sequencer.Ends();
    const std::int64_t start = LookAheadFrame();
    sequencer.PlayAt(start);
    if (transport_.StepPosition == 0) {
        emit StepSounded(0, start);
    }
    QueueNextPlan();
}

void PlayerController::QueueNextPlan() {
    queuedPlan_ = 0;
    queued_.reset();
    if (frmSelSound_ && frmSelSound_->cbRound->isChecked()) {
        QueueNextCustomChime();
    } else if (transport_.CasualMode) {
        QueueNextCombination();
    }
    if (queuedPlan_ == 0) {
        // Nothing follows: a plan held on until this tick stops at its end after all.
        voices_.Engine().Sequencer().QueueNext(nullptr, 0);
    }
}

void PlayerController::QueueNextCombination() {
    const Combination next = casual_.PrepareNextCombination();
    StepContext context = Context();
    PlanSource source = SourceOf(context);
    Guarded([&] { source.steps = library_.CombinationSteps(next); });
    AudioEngine& engine = voices_.Engine();
    // Held on: should the window be away past its whole pass, the combination plays again
    // rather than the sound stopping.
    if (engine.QueueNextSequence(PlanSequence(source.steps, context), true)) {
        queuedPlan_ = engine.LastPlanSerial();
        queued_ = std::move(source);
    }
}

void PlayerController::QueueNextCustomChime() {
    std::optional<CustomChime> chime;
    Guarded([&] { chime = library_.ReadNextCustomChime(); });
    if (!chime) {
        return;  // the sequencer stops at the end, and the tick tries the entry as before
    }
    // The chime's score read into a scratch score with its own bell set, as its load will.
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/next.kol");
    if (!dir.isValid() || !WriteTextLines(path, chime->score)) {
        return;
    }
    class Quiet final : public ChimeScoreObserver {
        void ClearGroupFrames(QChar) override {}
        void ShowTempo() override {}
        void ShowTotalDuration() override {}
    } quiet;
    TChannels scratch;
    scratch.StepInterval = data_.Channels->StepInterval;  // kept by a score without a tempo
    LoadChimeScore(scratch, kWholeChime, path, quiet);
    StepContext context = Context();
    ApplyStoredBellSet(context.bellSet, chime->bells, chime->types);
    AudioEngine& engine = voices_.Engine();
    SequencePlan plan = PlanSequence(scratch.Steps, context);
    plan.intervalMs = scratch.StepInterval;
    if (engine.QueueNextSequence(std::move(plan), true)) {
        queuedPlan_ = engine.LastPlanSerial();
        queued_ = PlanSource{scratch.Steps, context.bellSet.StoredBells(),
                             context.bellSet.StoredTypes(), context.soundColumn,
                             context.soundFolder};
    }
}

void PlayerController::AdoptNextPlan() {
    // The sequencer plays the next plan already: the window loads its chime or combination
    // without touching the engine.
    const bool playAll = frmSelSound_ && frmSelSound_->cbRound->isChecked();
    adopting_ = true;
    if (playAll) {
        NextCustomChime();
    } else {
        casual_.DrawCombination();
    }
    adopting_ = false;
    if (!Playing()) {
        return;
    }
    // A load that came out otherwise than planned replaces the plan.
    planned_ = queued_;
    planSerial_ = queuedPlan_;
    StepListChanged();
    QueueNextPlan();
}

void PlayerController::Follow() {
    StepSequencer& sequencer = voices_.Engine().Sequencer();
    const bool wasNextPlan = sentEnd_ == ChimeEnd::kNextPlan;
    SendEnd();
    if (!wasNextPlan && sentEnd_ == ChimeEnd::kNextPlan && queuedPlan_ == 0 && Playing()) {
        QueueNextPlan();  // "Play all" was checked while playing
    }
    const std::uint64_t played = sequencer.StepsPlayed();
    const std::uint64_t passes = sequencer.Passes();
    if (played > shownPlayed_) {
        const std::uint64_t steps = played - shownPlayed_;
        shownPlayed_ = played;
        if (passes != shownPasses_) {
            shownPasses_ = passes;
            // What the window does at a pass end may move the progress slider; the sequencer
            // has gone on already and keeps its own position.
            const QScopedValueRollback following(following_, true);
            if (queuedPlan_ != 0 && sequencer.CurrentPlan() == queuedPlan_) {
                AdoptNextPlan();
            } else if (transport_.CasualMode) {
                casual_.DrawCombination();
            }
        }
        ShowPlayed(sequencer.Position(), steps);
    }
    const std::uint64_t ends = sequencer.Ends();
    if (ends != shownEnds_) {
        shownEnds_ = ends;
        if (frmSelSound_ && frmSelSound_->cbRound->isChecked()) {
            // Nothing was queued (or it could not be read): try the entry as the timer would.
            NextCustomChime();
            if (Playing()) {
                return;
            }
        }
        Stop();
    }
}

void PlayerController::ShowPlayed(int position, std::uint64_t steps) {
    ReportSounded(position, steps);
    transport_.StepPosition = position;
    ShowPosition();
    FollowPage();
    ShowStep(position);
    PlaceMarkers();
    ShowElapsedTime();
    // The sweep runs when one of the steps played since the last tick was at 1 mod 64.
    const int span = static_cast<int>(std::min<std::uint64_t>(steps, kStepsPerPage));
    for (int back = 0; back < span && position - back >= 0; ++back) {
        if ((position - back) % kStepsPerPage == 1) {
            ++releaseWorkers_;
            voices_.StartReleaseWorker();
            break;
        }
    }
}

void PlayerController::ReportSounded(int position, std::uint64_t steps) {
    // The sequencer keeps an exact grid: the steps before the last one sounded an interval
    // apart (within this pass).
    AudioEngine& engine = voices_.Engine();
    const std::int64_t last = engine.Sequencer().LastStepFrame();
    const std::int64_t interval = StepClock::Frames(data_.Channels->StepInterval, engine.SampleRate());
    const int span = static_cast<int>(std::min<std::uint64_t>(steps, std::uint64_t(position) + 1));
    for (int step = position - span + 1; step <= position; ++step) {
        emit StepSounded(step, last - std::int64_t(position - step) * interval);
    }
}

void PlayerController::ShowStep(int step) {
    const PlayerWidgets& f = widgets_;
    TChannels& channels = *data_.Channels;
    const StepPlan plan = PlanStep(channels.Steps, step, Context());
    channels.RawLines = plan.soundFiles;
    channels.StepSounds = plan.soundFiles;
    bool volumeMarks = false;
    for (const StepAction& action : plan.actions) {
        Guarded([&] {
            switch (action.kind) {
                case StepAction::Kind::SetVolume:
                    volumeMarks = true;  // the sequencer has set the level at the step's frame
                    break;
                case StepAction::Kind::AnimateBell:
                    faces_.AnimateBell(action.value);
                    break;
                case StepAction::Kind::OpenSound:
                    break;
                case StepAction::Kind::StartResetTimer:
                    f.mmResetTimer->start();
                    break;
            }
        });
    }
    if (volumeMarks) {
        // The controls show the output's level; moving them must not write it back over a
        // later mark.
        const int level = volume_.GetVolume();
        const QSignalBlocker quiet(f.tbVolume);
        f.tbVolume->SetPosition(VolumeControl::TrackBarPosition(level));
        f.btnVolume->setText(VolumeControl::VolumeCaption(level));
    }
}

void PlayerController::SetClock(std::function<TimePoint()> clock) {
    now_ = std::move(clock);
}

PlayerController::TimePoint PlayerController::Now() const {
    return now_ ? now_() : StepClock::Clock::now();
}

bool PlayerController::ScoreShown() const {
    return widgets_.cbShowNotes->isChecked();
}

bool PlayerController::Playing() const {
    return widgets_.mmTimer->isActive();
}

void PlayerController::ShowPage(int page) {
    widgets_.udPage->setValue(page);
}

void PlayerController::ApplyInterval() {
    QTimer* timer = widgets_.mmTimer;
    const int interval = data_.Channels->StepInterval;
    if (timer->interval() == interval) {
        return;
    }
    // A running timer starts over with the new interval: a new grid.
    timer->setInterval(interval);
    if (Sequenced()) {
        StepSequencer& sequencer = voices_.Engine().Sequencer();
        if (timer->isActive()) {
            sequencer.SetIntervalFrom(interval, LookAheadFrame());
        } else {
            sequencer.SetInterval(interval);
        }
    } else if (timer->isActive()) {
        clock_.Anchor(Now(), interval);
    }
}

void PlayerController::StartTimer() {
    QTimer* timer = widgets_.mmTimer;
    if (timer->isActive()) {
        return;
    }
    timer->setInterval(data_.Channels->StepInterval);
    timer->start();
    clock_.Anchor(Now(), timer->interval());
    if (Sequenced() && !adopting_) {
        StartSequencer();
    }
}

// ---- Ticks and steps ----

void PlayerController::mmTimerTimer() {
    if (!Sequenced()) {
        Guarded([&] { Tick(); });
        return;
    }
    if (beforeFollow_) {
        beforeFollow_();
    }
    Guarded([&] { Follow(); });
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
    const PlayerWidgets& f = widgets_;
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
    const PlayerWidgets& f = widgets_;
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
        soundColumn_ = data_.BellData->SoundFiles();
    }
    return soundColumn_;
}

// ---- Transport ----

void PlayerController::btnPlayClick() {
    const int count = static_cast<int>(data_.Channels->Steps.size());
    const bool wasPlaying = Playing();
    if (count > 0) {
        widgets_.tbProgress->SetMax(count);
        StartTimer();
    }
    if (transport_.StepPosition == 0) {
        // Step 0 is due now: the first tick of the new grid, or at once when the timer was
        // running already (or cannot run). A sequencer that starts sounds it itself.
        if (Sequenced() && Playing() && !wasPlaying) {
            ShowStep(0);
        } else {
            PlayStep(0, Playing() && !wasPlaying);
        }
    }
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::btnPauseClick() {
    if (Sequenced() && Playing()) {
        // The window shows what has sounded, so that Play goes on from there.
        Guarded([&] { Follow(); });
    }
    widgets_.mmTimer->stop();
    if (Sequenced()) {
        voices_.Engine().Sequencer().Pause();
    }
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
    SendPosition();
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::btnFFClick() {
    transport_.StepPosition =
        ForwardPosition(transport_.StepPosition, static_cast<int>(data_.Channels->Steps.size()));
    SendPosition();
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
    widgets_.mmTimer->stop();
    if (Sequenced() && !adopting_) {
        voices_.Engine().Sequencer().Stop();
    }
    transport_.StepPosition = 0;
    ShowPosition();
    transport_.CurrentPage = 0;
    ShowPage(1);
    PlaceMarkers();
}

void PlayerController::ShowPosition() {
    const QSignalBlocker quiet(widgets_.tbProgress);
    widgets_.tbProgress->SetPosition(transport_.StepPosition);
}

void PlayerController::tbProgressChange() {
    transport_.StepPosition = widgets_.tbProgress->Position();
    SendPosition();
    FollowPage();
    PlaceMarkers();
}

void PlayerController::ResetPlayer() {
    const PlayerWidgets& f = widgets_;
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
    data_.Channels->StepInterval = widgets_.tbTemp->Position();
    ApplyInterval();
    widgets_.btnTemp->setText(TempoCaption(data_.Channels->StepInterval));
    ShowTotalDuration();
}

void PlayerController::nTempUpClick() {
    widgets_.tbTemp->SetPosition(FasterPosition(widgets_.tbTemp->Position()));
    tbTempChange();
}

void PlayerController::nTempDownClick() {
    widgets_.tbTemp->SetPosition(SlowerPosition(widgets_.tbTemp->Position()));
    tbTempChange();
}

void PlayerController::ShowTempo() {
    const PlayerWidgets& f = widgets_;
    f.btnTemp->setText(TempoCaption(data_.Channels->StepInterval));
    f.tbTemp->SetPosition(data_.Channels->StepInterval);
    ApplyInterval();
}

void PlayerController::ShowTotalDuration() {
    const QString text =
        GeneralDurationText(data_.Channels->Steps.size(), data_.Channels->StepInterval);
    widgets_.tbProgress->setToolTip(text);
    widgets_.lblLong->setText(text);
}

void PlayerController::ShowElapsedTime() {
    widgets_.lblPlayTime->setText(ElapsedText(transport_.StepPosition, data_.Channels->StepInterval));
}

void PlayerController::PlaceMarkers() {
    const int left = MarkerLeft(transport_.StepPosition, widgets_.pnlSmallBells->width());
    for (QWidget* marker : widgets_.Markers) {
        if (marker) {
            marker->move(left, 4);
        }
    }
}

void PlayerController::RequestPage(int page) {
    transport_.CurrentPage = page;
}

void PlayerController::RequestPosition(int position) {
    transport_.StepPosition = position;
}

void PlayerController::RequestStudyMode(bool on) {
    transport_.StudyMode = on;
}

void PlayerController::RequestCasualMode() {
    transport_.CasualMode = true;
}

}  // namespace orvane
