#include "chime/ui/PlayerController.h"

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "app/core/TextFile.h"
#include "app/ui/TfrmMain.h"
#include "catalogue/core/TBellData.h"
#include "chime/ui/CasualController.h"
#include "chime/ui/LibraryController.h"
#include "chime/core/StepPlan.h"
#include "chime/core/TChannels.h"
#include "chime/ui/TfrmSelSound.h"
#include "chime/core/Transport.h"
#include "score/ui/ScoreController.h"
#include "sound/core/AudioEngine.h"
#include "sound/ui/VoiceController.h"
#include "sound/core/VoicePlayer.h"
#include "sound/ui/VolumeController.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

namespace orvane {


void PlayerController::Observer::ClearGroupFrames(QChar letter) {
    player_.main_.faces->ClearGroupFrames(letter);
}

void PlayerController::Observer::ShowTempo() {
    player_.ShowTempo();
}

void PlayerController::Observer::ShowTotalDuration() {
    player_.ShowTotalDuration();
}

PlayerController::PlayerController(TfrmMain& main)
    : QObject(&main), main_(main), observer_(*this) {}

void PlayerController::Connect() {
    MainForm& f = main_.form;
    auto handle = [this](auto handler) {
        return [this, handler] { Guarded([&] { (this->*handler)(); }); };
    };
    connect(f.mmTimer, &QTimer::timeout, this, [this] { mmTimerTimer(); });
    connect(f.btnPlay, &QToolButton::clicked, this, handle(&PlayerController::btnPlayClick));
    connect(f.nPlay, &QAction::triggered, this, handle(&PlayerController::btnPlayClick));
    connect(f.btnPause, &QToolButton::clicked, this, handle(&PlayerController::btnPauseClick));
    connect(f.nPause, &QAction::triggered, this, handle(&PlayerController::btnPauseClick));
    connect(f.btnStop, &QToolButton::clicked, this, handle(&PlayerController::btnStopClick));
    connect(f.nStop, &QAction::triggered, this, handle(&PlayerController::btnStopClick));
    connect(f.btnRew, &QToolButton::clicked, this, handle(&PlayerController::btnRewClick));
    connect(f.nRew, &QAction::triggered, this, handle(&PlayerController::btnRewClick));
    connect(f.btnFF, &QToolButton::clicked, this, handle(&PlayerController::btnFFClick));
    connect(f.nFF, &QAction::triggered, this, handle(&PlayerController::btnFFClick));
    connect(f.btnTempUp, &QToolButton::clicked, this, handle(&PlayerController::nTempUpClick));
    connect(f.nTempUp, &QAction::triggered, this, handle(&PlayerController::nTempUpClick));
    connect(f.btnTempDown, &QToolButton::clicked, this, handle(&PlayerController::nTempDownClick));
    connect(f.nTempDown, &QAction::triggered, this, handle(&PlayerController::nTempDownClick));
    connect(f.tbProgress, &QSlider::valueChanged, this,
            handle(&PlayerController::tbProgressChange));
    connect(f.tbTemp, &QSlider::valueChanged, this, handle(&PlayerController::tbTempChange));
}

void PlayerController::SetClock(std::function<TimePoint()> clock) {
    now_ = std::move(clock);
}

PlayerController::TimePoint PlayerController::Now() const {
    return now_ ? now_() : StepClock::Clock::now();
}

bool PlayerController::ScoreShown() const {
    return main_.form.cbShowNotes->isChecked();
}

bool PlayerController::Playing() const {
    return main_.form.mmTimer->isActive();
}

void PlayerController::ShowPage(int page) {
    main_.form.udPage->setValue(page);
}

void PlayerController::ApplyInterval() {
    QTimer* timer = main_.form.mmTimer;
    const int interval = main_.Channels->StepInterval;
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
    QTimer* timer = main_.form.mmTimer;
    if (timer->isActive()) {
        return;
    }
    timer->setInterval(main_.Channels->StepInterval);
    timer->start();
    clock_.Anchor(Now(), timer->interval());
}

// ---- Ticks and steps ----

void PlayerController::mmTimerTimer() {
    Guarded([&] { Tick(); });
}

void PlayerController::Tick() {
    MainForm& f = main_.form;
    clock_.Advance(Now());
    TickState state;
    state.position = main_.StepPosition;
    state.stepCount = static_cast<int>(main_.Channels->Steps.size());
    state.currentPage = main_.CurrentPage;
    state.studyMode = main_.StudyMode;
    state.playAll = main_.frmSelSound && main_.frmSelSound->cbRound->isChecked();
    state.casualMode = main_.CasualMode;
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
        main_.casual->DrawCombination();
    }
    main_.StepPosition = plan.position;
    // The slider's handler follows the position: page, page selector, redraw, markers.
    f.tbProgress->SetPosition(main_.StepPosition);
    FollowPage();
    PlayStep(main_.StepPosition, true);
    if (ScoreShown()) {
        PlaceMarkers();
    }
    ShowElapsedTime();
    if (plan.startReleaseWorker) {
        ++releaseWorkers_;
        main_.voices->StartReleaseWorker();
    }
}

void PlayerController::NextCustomChime() {
    MainForm& f = main_.form;
    f.tbProgress->setEnabled(false);
    QListWidget* list = main_.frmSelSound->lbSounds;
    if (list->count() > 0) {
        list->setCurrentRow((list->currentRow() + 1) % list->count());
    }
    f.mmTimer->stop();
    f.tbProgress->SetPosition(0);
    main_.CurrentPage = 0;
    ShowPage(1);
    if (ScoreShown()) {
        main_.score->RedrawScore();
        PlaceMarkers();
    }
    Guarded([&] { main_.library->LoadNextCustomChime(); });
    f.tbProgress->setEnabled(true);
}

void PlayerController::PlayStep(int step, bool onGrid) {
    MainForm& f = main_.form;
    TChannels& channels = *main_.Channels;
    StepContext context;
    context.bellSet = main_.Bells;
    context.groupChecked = {f.cbSmall->isChecked(), f.cbMiddle->isChecked(), f.cbBig->isChecked()};
    context.animation = f.cbShowMovie->isChecked();
    context.groupAnimation = channels.GroupAnimation;
    context.volumeLevel = main_.volume->GetVolume();
    context.soundFolder = main_.AppPath.SoundDir;
    for (int bell = 0; bell < TBellData::kBellCount; ++bell) {
        context.soundColumn.append(NativePath(main_.BellData->Cell(TBellData::kSound, bell)));
    }
    const StepPlan plan = PlanStep(channels.Steps, step, context);
    channels.RawLines = plan.soundFiles;
    channels.StepSounds = plan.soundFiles;

    AudioEngine& engine = main_.voices->Engine();
    std::optional<std::int64_t> start;
    if (onGrid && scheduling_) {
        start = clock_.StartFrame(engine.FrameAt(clock_.Ideal()), engine.SampleRate());
    }
    for (const StepAction& action : plan.actions) {
        Guarded([&] {
            switch (action.kind) {
                case StepAction::Kind::SetVolume:
                    main_.volume->SetLevelFromScore(action.value);
                    break;
                case StepAction::Kind::AnimateBell:
                    main_.faces->AnimateBell(action.value);
                    break;
                case StepAction::Kind::OpenSound:
                    main_.voices->Player().StartPlaybackVoice(action.file, start);
                    break;
                case StepAction::Kind::StartResetTimer:
                    f.mmResetTimer->start();
                    break;
            }
        });
    }
}

// ---- Transport ----

void PlayerController::btnPlayClick() {
    const int count = static_cast<int>(main_.Channels->Steps.size());
    const bool wasPlaying = Playing();
    if (count > 0) {
        main_.form.tbProgress->SetMax(count);
        StartTimer();
    }
    if (main_.StepPosition == 0) {
        // Step 0 is due now: the first tick of the new grid, or at once when the timer was
        // running already (or cannot run).
        PlayStep(0, Playing() && !wasPlaying);
    }
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::btnPauseClick() {
    main_.form.mmTimer->stop();
}

void PlayerController::btnStopClick() {
    Stop();
}

void PlayerController::Stop() {
    MainForm& f = main_.form;
    f.mmTimer->stop();
    main_.StepPosition = 0;
    f.tbProgress->SetPosition(0);
    main_.CurrentPage = 0;
    ShowPage(1);
    if (ScoreShown()) {
        main_.score->RedrawScore();
        PlaceMarkers();
    }
    if (main_.frmSelSound) {
        main_.frmSelSound->cbRound->setChecked(false);
    }
    ShowElapsedTime();
    main_.CasualMode = false;
}

void PlayerController::btnRewClick() {
    main_.StepPosition = RewindPosition(main_.StepPosition);
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::btnFFClick() {
    main_.StepPosition =
        ForwardPosition(main_.StepPosition, static_cast<int>(main_.Channels->Steps.size()));
    if (ScoreShown()) {
        PlaceMarkers();
    }
}

void PlayerController::FollowPage() {
    const int page = PageOf(main_.StepPosition);
    const bool pageChanged = page != main_.CurrentPage;
    main_.CurrentPage = page;
    ShowPage(page + 1);
    if (ScoreShown() && pageChanged) {
        main_.score->RedrawScore();
    }
}

void PlayerController::tbProgressChange() {
    main_.StepPosition = main_.form.tbProgress->Position();
    FollowPage();
    PlaceMarkers();
}

void PlayerController::ResetPlayer() {
    MainForm& f = main_.form;
    TChannels& channels = *main_.Channels;
    channels.SmallSteps.clear();
    channels.MiddleSteps.clear();
    channels.BigSteps.clear();
    channels.Steps.clear();
    f.mmTimer->stop();
    main_.StepPosition = 0;
    f.tbProgress->SetPosition(0);
    main_.CurrentPage = 0;
    ShowPage(1);
    f.edPage->setEnabled(false);
    f.udPage->setEnabled(false);
    if (ScoreShown()) {
        PlaceMarkers();
        main_.score->DrawScoreGrid();
    }
    channels.GroupAnimation = {true, true, true};
    if (f.cbShowMovie->isChecked()) {
        main_.faces->ShowRestFrames();
    }
    ShowElapsedTime();
    if (!keepCasual_) {
        main_.CasualMode = false;
    }
    keepCasual_ = false;
}

// ---- Tempo and times ----

void PlayerController::tbTempChange() {
    main_.Channels->StepInterval = main_.form.tbTemp->Position();
    ApplyInterval();
    main_.form.btnTemp->setText(TempoCaption(main_.Channels->StepInterval));
    ShowTotalDuration();
}

void PlayerController::nTempUpClick() {
    main_.form.tbTemp->SetPosition(FasterPosition(main_.form.tbTemp->Position()));
    tbTempChange();
}

void PlayerController::nTempDownClick() {
    main_.form.tbTemp->SetPosition(SlowerPosition(main_.form.tbTemp->Position()));
    tbTempChange();
}

void PlayerController::ShowTempo() {
    MainForm& f = main_.form;
    f.btnTemp->setText(TempoCaption(main_.Channels->StepInterval));
    f.tbTemp->SetPosition(main_.Channels->StepInterval);
    ApplyInterval();
}

void PlayerController::ShowTotalDuration() {
    const QString text =
        GeneralDurationText(main_.Channels->Steps.size(), main_.Channels->StepInterval);
    main_.form.tbProgress->setToolTip(text);
    main_.form.lblLong->setText(text);
}

void PlayerController::ShowElapsedTime() {
    main_.form.lblPlayTime->setText(ElapsedText(main_.StepPosition, main_.Channels->StepInterval));
}

void PlayerController::PlaceMarkers() {
    const int left = MarkerLeft(main_.StepPosition, main_.form.pnlSmallBells->width());
    for (QWidget* marker : main_.Markers) {
        if (marker) {
            marker->move(left, 4);
        }
    }
}

}  // namespace orvane
