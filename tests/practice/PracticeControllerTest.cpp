#include "chime/PlayerFixture.h"
#include "practice/core/PracticeHistory.h"
#include "practice/ui/PracticeController.h"
#include "practice/ui/PracticeOverlay.h"
#include "practice/ui/TfrmPractice.h"
#include "practice/ui/TfrmPracticeResult.h"
#include "sound/core/InputEventTime.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

using orvane::PracticeController;

// A chime of eight steps at 200 ms: great bells b1, b2 (rows 0, 1), a medium-size bell that the
// player rings, and a chord.
const QStringList kChime{"200", "b1,m1", "", "b2", "m2", "b1,b2", "", "b1", ""};
constexpr std::int64_t kStep = 200 * 48;  // frames

class PracticeControllerTest : public WindowPlayerFixture {
  protected:
    std::unique_ptr<TestWindow> StartPractice() {
        auto w = StartPlayer();
        orvane::OfflineOutput* output = offline;
        w->practice->SetClock([output] {
            return output->OpenTime() + std::chrono::nanoseconds(output->FramesRendered() * 1'000'000'000 / kRate);
        });
        w->practice->SetHistoryPath(folder.Root() + "/data/practice-history.csv");
        LoadWhole(*w, kChime);
        return w;
    }

    // Opens the panel with the great bells chosen, without a count-in.
    static orvane::TfrmPractice* Panel(TestWindow& w, bool countIn = false) {
        w.practice->nRingAlongClick();
        orvane::TfrmPractice* panel = w.practice->Panel();
        panel->SetGroups({false, false, true});
        panel->cbCountIn->setChecked(countIn);
        return panel;
    }
};

TEST_F(PracticeControllerTest, MenuItemAndButtonOpenThePanelWithTheSilentGroups) {
    auto w = StartPractice();
    QAction* item = w->practice->MenuItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Ring along ...");
    const QList<QAction*> items = w->form.mPlayer->actions();
    EXPECT_EQ(items.indexOf(item), items.indexOf(w->form.nGenerator) + 1);
    QToolButton* button = w->practice->Button();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->parentWidget(), w->form.pnlTools);
    EXPECT_FALSE(button->toolTip().isEmpty());
    w->form.cbMiddle->setChecked(false);
    button->click();
    orvane::TfrmPractice* panel = w->practice->Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Groups(), (std::array<bool, 3>{false, true, false}));
    // At least one group: Start is off without one.
    panel->SetGroups({false, false, false});
    EXPECT_FALSE(panel->btnStart->isEnabled());
    EXPECT_EQ(orvane::GuardLog::Swallowed(), 0);
}

TEST_F(PracticeControllerTest, APassRingsTheOthersMatchesTheLearnerAndKeepsTheRest) {
    auto w = StartPractice();
    const QByteArray iniBefore = [&] {
        QFile f(w->Settings->FileName());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    std::vector<std::pair<int, qint64>> steps;
    QObject::connect(w->player, &orvane::PlayerController::StepSounded, w->player,
                     [&](int step, qint64 frame) { steps.emplace_back(step, frame); });
    Panel(*w);
    ASSERT_TRUE(w->practice->StartPass());
    EXPECT_EQ(w->practice->CurrentState(), PracticeController::State::Ringing);
    EXPECT_FALSE(w->form.cbBig->isChecked());
    EXPECT_TRUE(w->form.cbMiddle->isChecked());
    // The learner: step 0 on time, step 2 (b2) 30 ms late, the chord's b1 only, step 6 missed,
    // one stroke of b2 where nothing is expected.
    std::vector<orvane::VoiceStart> starts = Render(*w, kStep);
    ASSERT_EQ(steps.size(), 1u);
    const qint64 step0 = steps[0].second;
    emit w->voices->BellStruck(0, step0 + 96);
    for (int tick = 1; tick < 8; ++tick) {
        const auto more = TickAndRender(*w);
        starts.insert(starts.end(), more.begin(), more.end());
    }
    emit w->voices->BellStruck(1, step0 + 2 * kStep + 30 * 48);
    emit w->voices->BellStruck(0, step0 + 4 * kStep - 5 * 48);
    emit w->voices->BellStruck(1, step0 + 5 * kStep);
    // Only the medium-size bells sounded.
    for (const orvane::VoiceStart& start : starts) {
        EXPECT_FALSE(start.path.endsWith("bell00.wav") || start.path.endsWith("bell01.wav")) << start.path.toStdString();
    }
    EXPECT_GE(starts.size(), 2u);
    ASSERT_EQ(int(steps.size()), 8);
    TickAndRender(*w);  // past the end: the player stops
    w->practice->Poll();
    EXPECT_EQ(w->practice->CurrentState(), PracticeController::State::Idle);
    EXPECT_TRUE(w->form.cbBig->isChecked());

    const auto& outcomes = w->practice->Matcher()->NoteOutcomes();
    ASSERT_EQ(outcomes.size(), 5u);  // b1, b2, b1+b2, b1
    EXPECT_EQ(outcomes[0].result, orvane::NoteResult::OnTime);
    EXPECT_EQ(outcomes[1].result, orvane::NoteResult::SlightlyOff);
    EXPECT_EQ(outcomes[2].result, orvane::NoteResult::OnTime);
    EXPECT_EQ(outcomes[3].result, orvane::NoteResult::Missed);
    EXPECT_EQ(outcomes[4].result, orvane::NoteResult::Missed);

    // The history row, the result window, and nothing else written but the panel's section.
    orvane::PracticeHistory history(folder.Root() + "/data/practice-history.csv");
    const auto rows = history.Read();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].notes, 5);
    EXPECT_EQ(rows[0].hits, 3);
    EXPECT_EQ(rows[0].extra, 1);
    EXPECT_EQ(rows[0].groups, "b");
    EXPECT_EQ(rows[0].intervalMs, 200);
    orvane::TfrmPracticeResult* result = w->practice->ResultWindow();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->isVisible());
    EXPECT_EQ(result->Report().summary.all.hits, 3);
    EXPECT_EQ(result->Report().passes.size(), 1u);
    EXPECT_EQ(w->Settings->ReadString("Practice", "Groups", ""), "b");
    QFile ini(w->Settings->FileName());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    QByteArray after = ini.readAll();
    after.replace(after.indexOf("[Practice]"), after.size(), "");
    QByteArray before = iniBefore;
    if (before.contains("[Practice]")) {
        before.truncate(before.indexOf("[Practice]"));
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(orvane::GuardLog::Swallowed(), 0);

    // The marks stay on the score: the great bells' overlay shows them.
    orvane::PracticeOverlay* overlay = w->practice->Overlays()[2];
    ASSERT_NE(overlay, nullptr);
    overlay->grab();
    EXPECT_GE(overlay->Shown().size(), 5);

    // Saved as PDF.
    const QString pdf = folder.Root() + "/result.pdf";
    ASSERT_TRUE(result->SaveAsPdf(pdf));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

TEST_F(PracticeControllerTest, CountInClicksABarBeforeStepZeroAndStopMidPass) {
    auto w = StartPractice();
    Panel(*w, true);
    ASSERT_TRUE(w->practice->StartPass());
    EXPECT_EQ(w->practice->CurrentState(), PracticeController::State::CountIn);
    const std::int64_t first = w->practice->CountInFrame();
    const auto clicks = Render(*w, 4 * kStep + 2000);
    ASSERT_EQ(clicks.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(clicks[std::size_t(i)].path.endsWith("practice-click.wav"));
        EXPECT_EQ(clicks[std::size_t(i)].frame, first + i * kStep);
    }
    // The pass begins when the bar is over (the count-in timer keeps real time).
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->practice->CurrentState() == PracticeController::State::Ringing; }, 3000));
    TickAndRender(*w);
    w->practice->btnStopClick();
    EXPECT_EQ(w->practice->CurrentState(), PracticeController::State::Idle);
    EXPECT_FALSE(w->player->Playing());
    EXPECT_TRUE(w->form.cbBig->isChecked());
    // Notes after the stop are not counted.
    int unreached = 0;
    for (const auto& o : w->practice->Matcher()->NoteOutcomes()) {
        unreached += o.result == orvane::NoteResult::Unreached ? 1 : 0;
    }
    EXPECT_GE(unreached, 3);
}

TEST_F(PracticeControllerTest, AHistoryThatCannotBeWrittenIsReported) {
    auto w = StartPractice();
    w->practice->SetHistoryPath(getuid() == 0 ? "/proc/self/history.csv" : "/history.csv");
    Panel(*w);
    ASSERT_TRUE(w->practice->StartPass());
    Render(*w, kStep);
    w->practice->FinishPass();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("read-only")) << messages[0].toStdString();
    EXPECT_NE(w->practice->ResultWindow(), nullptr);
}

TEST_F(PracticeControllerTest, AStrikeReportsItsBellAndTheInputsFrame) {
    auto w = StartPractice();
    Render(*w, 48000);
    std::vector<std::pair<int, qint64>> struck;
    QObject::connect(w->voices, &orvane::VoiceController::BellStruck, w->voices,
                     [&](int bell, qint64 frame) { struck.emplace_back(bell, frame); });
    w->voices->StrikeBell(3);
    ASSERT_EQ(struck.size(), 1u);
    EXPECT_EQ(struck[0].first, 3);
}

TEST_F(PracticeControllerTest, WindingBackEndsThePassAndAnotherChimeTakesTheMarksAway) {
    auto w = StartPractice();
    Panel(*w);
    ASSERT_TRUE(w->practice->StartPass());
    Render(*w, kStep);
    emit w->voices->BellStruck(0, w->practice->Matcher()->StepFrame(0));
    for (int tick = 0; tick < 4; ++tick) {
        TickAndRender(*w);
    }
    w->player->btnRewClick();
    TickAndRender(*w);  // plays a step before the last one
    QCoreApplication::processEvents();
    EXPECT_EQ(w->practice->CurrentState(), PracticeController::State::Idle);
    EXPECT_TRUE(w->form.cbBig->isChecked());
    ASSERT_NE(w->practice->ResultWindow(), nullptr);
    EXPECT_EQ(w->practice->ResultWindow()->Report().summary.all.hits, 1);
    orvane::PracticeOverlay* overlay = w->practice->Overlays()[2];
    ASSERT_NE(overlay, nullptr);
    overlay->grab();
    EXPECT_FALSE(overlay->Shown().isEmpty());
    LoadWhole(*w, {"200", "b2", "b1"});
    overlay->grab();
    EXPECT_TRUE(overlay->Shown().isEmpty());
    EXPECT_EQ(orvane::GuardLog::Swallowed(), 0);
}

TEST(InputEventTimeTest, StampsOfTheMonotonicClockPlaceTheEvent) {
    using namespace std::chrono;
    const steady_clock::time_point now{milliseconds(5'000'123) + microseconds(700)};
    const auto at = orvane::InputEventTime(5'000'110, now);
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(duration_cast<microseconds>(now - *at).count(), 13'200);  // 12.7 ms + the ms's middle
    // The 32-bit wrap of a server's stamp.
    const steady_clock::time_point late{milliseconds((1LL << 32) + 20)};
    const auto wrapped = orvane::InputEventTime((1ULL << 32) - 5, late);
    ASSERT_TRUE(wrapped.has_value());
    EXPECT_EQ(duration_cast<microseconds>(late - *wrapped).count(), 24'500);
    // Stamps from the future, too old, or absent give nothing.
    EXPECT_FALSE(orvane::InputEventTime(5'000'200, now).has_value());
    EXPECT_FALSE(orvane::InputEventTime(4'000'000, now).has_value());
    EXPECT_FALSE(orvane::InputEventTime(0, now).has_value());
}

}  // namespace
