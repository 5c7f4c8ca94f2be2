#include "practice/ui/PracticeController.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/MainCaption.h"
#include "app/core/ProgramData.h"
#include "app/ui/TImage.h"
#include "app/ui/TPanel.h"
#include "catalogue/core/BellSetModel.h"
#include "chime/core/StepClock.h"
#include "chime/core/TChannels.h"
#include "chime/core/TransportModel.h"
#include "chime/ui/PlayerController.h"
#include "practice/core/ClickSound.h"
#include "practice/core/ExpectedNotes.h"
#include "practice/core/PracticeHistory.h"
#include "practice/core/PracticeMarks.h"
#include "practice/ui/PracticeOverlay.h"
#include "practice/ui/TfrmPractice.h"
#include "practice/ui/TfrmPracticeResult.h"
#include "score/ui/PrintController.h"
#include "score/ui/ScoreController.h"
#include "sound/core/AudioEngine.h"
#include "sound/ui/VoiceController.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

namespace orvane {

namespace {

constexpr int kCountInSteps = 4;
constexpr float kClickGain = 0.5f;
constexpr int kPollMs = 25;

}  // namespace

PracticeController::PracticeController(QWidget& window, PracticeWidgets widgets, ProgramData& data, BellSetModel& bells,
                                       TransportModel& transport, PlayerController& player, VoiceController& voices,
                                       ScoreController& score, PrintController& print, MessageFunction message)
    : window_(window), widgets_(widgets), data_(data), bells_(bells), transport_(transport), player_(player),
      voices_(voices), score_(score), print_(print), message_(std::move(message)) {
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    poll_->setTimerType(Qt::PreciseTimer);
    countIn_ = new QTimer(this);
    countIn_->setSingleShot(true);
    countIn_->setTimerType(Qt::PreciseTimer);
}

PracticeController::~PracticeController() {
    // The window's shutdown has stopped the player; the boxes go back as they were.
    RestoreGroupBoxes();
}

void PracticeController::Connect() {
    nRingAlong_ = new QAction(QStringLiteral("Ring along ..."), widgets_.mPlayer);
    nRingAlong_->setObjectName(QStringLiteral("nRingAlong"));
    // After "Casual reproduction", in the playing part of the menu.
    QAction* before = nullptr;
    const QList<QAction*> items = widgets_.mPlayer->actions();
    const qsizetype generator = items.indexOf(widgets_.nGenerator);
    if (generator >= 0 && generator + 1 < items.size()) {
        before = items.at(generator + 1);
    }
    widgets_.mPlayer->insertAction(before, nRingAlong_);

    btnRingAlong_ = new QToolButton(widgets_.pnlTools);
    btnRingAlong_->setObjectName(QStringLiteral("btnRingAlong"));
    btnRingAlong_->setText(QString::fromUtf8("\u266A"));
    btnRingAlong_->setToolTip(QStringLiteral("Ring along: ring the silent groups yourself and see how well you strike"));
    btnRingAlong_->setAutoRaise(true);
    btnRingAlong_->setFocusPolicy(Qt::NoFocus);
    // After the bell selection buttons, at the right end of the panel's row of buttons.
    const int left = widgets_.btnDisselectAll->x() + widgets_.btnDisselectAll->width() + 2;
    btnRingAlong_->setGeometry(left, widgets_.btnDisselectAll->y(), 23, widgets_.btnDisselectAll->height());
    btnRingAlong_->show();

    Wire(nRingAlong_, &QAction::triggered, this, &PracticeController::nRingAlongClick);
    Wire(btnRingAlong_, &QToolButton::clicked, this, &PracticeController::nRingAlongClick);
    connect(poll_, &QTimer::timeout, this, [this] { Guarded([&] { Poll(); }); });
    connect(countIn_, &QTimer::timeout, this, [this] { Guarded([&] { StartRinging(); }); });
    connect(&player_, &PlayerController::StepSounded, this, [this](int step, qint64 frame) {
        if (!matcher_ || state_ == State::Idle) {
            return;
        }
        if (step < lastStep_ || data_.Channels->Steps != passSteps_) {
            // Wound back, or on to another chime: the pass is over, once the player is done with
            // this step.
            QMetaObject::invokeMethod(this, [this] { Guarded([&] { FinishPass(); }); }, Qt::QueuedConnection);
            return;
        }
        lastStep_ = step;
        matcher_->StepSounded(step, frame, IntervalFrames());
    });
    connect(&voices_, &VoiceController::BellStruck, this, [this](int bell, qint64 frame) {
        if (matcher_ && state_ != State::Idle) {
            matcher_->AddStroke(bell, frame);
        }
    });
}

TfrmPractice* PracticeController::Panel() const {
    return panel_;
}

TfrmPracticeResult* PracticeController::ResultWindow() const {
    return result_;
}

QString PracticeController::HistoryPath() const {
    if (!historyPath_.isEmpty()) {
        return historyPath_;
    }
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u'/' +
           QString::fromLatin1(PracticeHistory::kFileName);
}

std::int64_t PracticeController::IntervalFrames() const {
    const int interval = data_.Channels ? data_.Channels->StepInterval : TChannels::kDefaultInterval;
    return StepClock::Frames(interval, voices_.Engine().SampleRate());
}

std::chrono::steady_clock::time_point PracticeController::Now() const {
    return now_ ? now_() : std::chrono::steady_clock::now();
}

std::int64_t PracticeController::NowFrame() const {
    return voices_.Engine().FrameAt(Now());
}

// ---- The panel ----

void PracticeController::EnsurePanel() {
    if (panel_) {
        return;
    }
    panel_ = new TfrmPractice(&window_);
    const PracticeSettings stored = data_.Settings ? PracticeSettings::Read(*data_.Settings) : PracticeSettings{};
    const std::array<bool, 3> checked{widgets_.cbSmall->isChecked(), widgets_.cbMiddle->isChecked(), widgets_.cbBig->isChecked()};
    panel_->SetGroups(PracticeSettings::InitialGroups(checked, stored.groups));
    panel_->cbCountIn->setChecked(stored.countIn);
    panel_->cbClick->setChecked(stored.click);
    panel_->cbClick->setEnabled(stored.countIn);
    Wire(panel_->btnStart, &QPushButton::clicked, this, &PracticeController::btnStartClick);
    Wire(panel_->btnStop, &QPushButton::clicked, this, &PracticeController::btnStopClick);
    connect(panel_, &TfrmPractice::Closed, this, [this] {
        if (state_ != State::Idle) {
            Guarded([&] { FinishPass(); });
        }
    });
    // Beside the main window's right edge, over the score.
    const QRect frame = window_.frameGeometry();
    panel_->adjustSize();
    panel_->move(std::max(0, frame.right() - panel_->width() - 20), frame.top() + 60);
}

void PracticeController::nRingAlongClick() {
    EnsurePanel();
    panel_->show();
    panel_->raise();
}

void PracticeController::btnStartClick() {
    StartPass();
}

void PracticeController::btnStopClick() {
    if (state_ != State::Idle) {
        FinishPass();
    }
}

void PracticeController::SaveChoices() {
    if (!data_.Settings || !panel_) {
        return;
    }
    PracticeSettings s;
    s.groups = panel_->Groups();
    s.countIn = panel_->cbCountIn->isChecked();
    s.click = panel_->cbClick->isChecked();
    s.Write(*data_.Settings);
}

// ---- A pass ----

void PracticeController::EnsureOverlays() {
    const auto ranks = RankOfBells(bells_.Bells);
    for (int g = 0; g < 3; ++g) {
        TImage* image = score_.ScoreImage(g);
        if (!image) {
            continue;
        }
        delete overlays_[std::size_t(g)].data();
        overlays_[std::size_t(g)] = new PracticeOverlay(
            image,
            [this, g, image] {
                return ScoreStaff{g, bells_.Bells.GroupCount(g + 1), image->width(), image->height(),
                                  widgets_.cbGrid->isChecked(), score_.Background()};
            },
            [this] { return int(transport_.CurrentPage); },
            [this] {
                return data_.Channels && data_.Channels->Steps == passSteps_ &&
                       bells_.Bells.inSet == passBells_.inSet && bells_.Bells.group == passBells_.group;
            },
            ranks);
    }
}

bool PracticeController::StartPass() {
    EnsurePanel();
    if (state_ != State::Idle) {
        return false;
    }
    const std::array<bool, 3> groups = panel_->Groups();
    if (!data_.Channels || data_.Channels->Steps.isEmpty()) {
        message_(QStringLiteral("Load a chime to ring along with first."));
        return false;
    }
    if (!groups[0] && !groups[1] && !groups[2]) {
        message_(QStringLiteral("Choose at least one group to ring."));
        return false;
    }
    SaveChoices();
    practised_ = groups;
    player_.btnStopClick();

    // The practised groups fall silent for the pass.
    QCheckBox* boxes[3] = {widgets_.cbSmall, widgets_.cbMiddle, widgets_.cbBig};
    for (int g = 0; g < 3; ++g) {
        savedBoxes_[std::size_t(g)] = boxes[g]->isChecked();
        if (groups[std::size_t(g)]) {
            boxes[g]->setChecked(false);
        }
    }
    boxesSwitched_ = true;

    AudioEngine& engine = voices_.Engine();
    const QStringList& steps = data_.Channels->Steps;
    passSteps_ = steps;
    passChime_ = ChimeName();
    passIntervalMs_ = data_.Channels->StepInterval;
    passBells_ = bells_.Bells;
    lastStep_ = -1;
    matcher_ = std::make_unique<StrokeMatcher>(ExpectedNotes(steps, groups, bells_.Bells), GroupOfBells(bells_.Bells),
                                               int(steps.size()), engine.SampleRate());
    EnsureOverlays();
    for (const QPointer<PracticeOverlay>& overlay : overlays_) {
        if (overlay) {
            overlay->SetMatcher(matcher_.get());
        }
    }
    const std::int64_t interval = IntervalFrames();
    const int intervalMs = data_.Channels->StepInterval;
    const bool countIn = panel_->cbCountIn->isChecked();
    // The count-in's first beat sounds a look-ahead from now, on the output's clock; step 0 is
    // played a bar later, when the player's first step started now would sound then.
    const auto countInStart = Now();
    countInFrame_ = engine.FrameAt(countInStart) + StepClock::LookAheadFrames(engine.SampleRate());
    const std::int64_t firstStep = countInFrame_ + (countIn ? kCountInSteps * interval : 0);
    // Strokes of the count-in are not counted; the first step's window is.
    matcher_->AcceptFrom(firstStep - interval / 2);
    matcher_->Expect(0, firstStep, interval);
    panel_->SetRunning(true);
    panel_->ShowFigures({});
    playerStarted_ = false;
    poll_->start();
    if (countIn) {
        if (panel_->cbClick->isChecked()) {
            ScheduleClicks(countInFrame_, interval);
        }
        state_ = State::CountIn;
        panel_->lblStatus->setText(QStringLiteral("Count-in ..."));
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
            Now() - countInStart);
        countIn_->start(std::max<int>(0, kCountInSteps * intervalMs - int(spent.count())));
    } else {
        StartRinging();
    }
    return true;
}

void PracticeController::ScheduleClicks(std::int64_t firstFrame, std::int64_t intervalFrames) {
    AudioEngine& engine = voices_.Engine();
    CloseClickVoices();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/practice-click.wav");
    if (!ClickSound::Write(path, engine.SampleRate())) {
        return;  // the count-in goes on without its click
    }
    for (int i = 0; i < kCountInSteps; ++i) {
        AudioEngine::VoiceId voice = -1;
        if (engine.OpenVoice(path, voice) != EngineError::kNone) {
            return;
        }
        clickVoices_.push_back(voice);
        // The first beat of the bar a little louder.
        engine.PlayVoiceAt(voice, firstFrame + i * intervalFrames, i == 0 ? kClickGain * 1.4f : kClickGain);
    }
}

void PracticeController::CloseClickVoices() {
    AudioEngine& engine = voices_.Engine();
    for (int voice : clickVoices_) {
        if (!engine.IsVoicePlaying(voice)) {
            engine.CloseVoice(voice);
        }
    }
    clickVoices_.clear();
}

void PracticeController::StartRinging() {
    if (state_ == State::Idle && !matcher_) {
        return;
    }
    state_ = State::Ringing;
    panel_->lblStatus->setText(QStringLiteral("Ringing ..."));
    player_.btnPlayClick();
    playerStarted_ = player_.Playing();
    if (!playerStarted_) {
        FinishPass();
    }
}

void PracticeController::Poll() {
    if (!matcher_) {
        return;
    }
    if (state_ != State::Idle) {
        matcher_->Advance(NowFrame());
        if (panel_) {
            panel_->ShowFigures(Summarise(*matcher_).all);
        }
    }
    for (const QPointer<PracticeOverlay>& overlay : overlays_) {
        if (overlay) {
            overlay->Refresh();
        }
    }
    if (state_ == State::Ringing && playerStarted_ && !player_.Playing()) {
        FinishPass();  // the chime has ended, or the player was stopped
    }
}

void PracticeController::RestoreGroupBoxes() {
    if (!boxesSwitched_) {
        return;
    }
    QCheckBox* boxes[3] = {widgets_.cbSmall, widgets_.cbMiddle, widgets_.cbBig};
    for (int g = 0; g < 3; ++g) {
        if (boxes[g]) {
            boxes[g]->setChecked(savedBoxes_[std::size_t(g)]);
        }
    }
    boxesSwitched_ = false;
}

void PracticeController::FinishPass() {
    if (state_ == State::Idle || !matcher_) {
        return;
    }
    countIn_->stop();
    const bool wasRinging = state_ == State::Ringing;
    state_ = State::Idle;
    if (player_.Playing()) {
        player_.btnStopClick();
    }
    matcher_->Finish(NowFrame());
    CloseClickVoices();
    RestoreGroupBoxes();
    const PracticeSummary summary = Summarise(*matcher_);
    if (panel_) {
        panel_->SetRunning(false);
        panel_->ShowFigures(summary.all);
        panel_->lblStatus->setText(wasRinging ? QStringLiteral("Finished") : QStringLiteral("Stopped in the count-in"));
    }
    for (const QPointer<PracticeOverlay>& overlay : overlays_) {
        if (overlay) {
            overlay->Refresh();
        }
    }
    if (!wasRinging) {
        poll_->stop();
        return;
    }
    PracticeReport report = MakeReport(summary);
    PracticeHistory history(HistoryPath());
    if (!history.Append(report.record)) {
        message_(history.Error());
    }
    std::vector<PracticeRecord> all = history.Read();
    report.passes.clear();
    for (const PracticeRecord& r : all) {
        if (r.SameChime(report.record)) {
            report.passes.push_back(r);
        }
    }
    if (report.passes.empty() || report.passes.back().when != report.record.when) {
        report.passes.push_back(report.record);  // not written: shown all the same
    }
    if (!result_) {
        result_ = new TfrmPracticeResult(&window_, print_.Printer());
    }
    result_->SetReport(std::move(report));
    result_->show();
    result_->raise();
    // The marks stay on the score until the next pass.
    poll_->stop();
}

QString PracticeController::ChimeName() const {
    // A whole or custom chime names itself in the caption; study chimes are named by the
    // entries chosen in the group chime boxes.
    if (window_.windowTitle() != DefaultMainCaption()) {
        return window_.windowTitle();
    }
    QStringList parts;
    for (QComboBox* box : widgets_.GroupChimeBoxes) {
        if (box && box->currentIndex() > 0) {
            parts << box->currentText();
        }
    }
    return parts.isEmpty() ? QStringLiteral("Chime") : parts.join(QStringLiteral(" + "));
}

PracticeReport PracticeController::MakeReport(const PracticeSummary& summary) {
    PracticeReport report;
    report.summary = summary;
    report.groups = practised_;
    report.bellNames = PracticeReport::BellNames(bells_.Bells);
    report.points = ErrorPoints(*matcher_);
    const int steps = int(passSteps_.size());
    const int intervalMs = passIntervalMs_;
    report.durationSeconds = steps * intervalMs / 1000.0;
    PracticeRecord& r = report.record;
    r.when = QDateTime::currentDateTimeUtc();
    r.when.setTime(QTime(r.when.time().hour(), r.when.time().minute(), r.when.time().second()));
    r.chime = passChime_;
    r.steps = steps;
    r.groups = PracticeSettings::GroupLetters(practised_);
    r.intervalMs = intervalMs;
    FillFigures(r, summary.all);
    return report;
}

}  // namespace orvane
