// The playback engine and its transport on a real main window: what sounds on which tick and at
// which frame, the winding, the tempo, the times, the volume marks and the page selector.

#include "PlayerFixture.h"

#include "app/core/Guard.h"
#include "chime/core/Transport.h"
#include "score/ui/ScoreController.h"
#include "sound/ui/VolumeController.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

using namespace orvane;

namespace {

constexpr std::int64_t kStep144 = 144 * 48;  // frames of a 144 ms step

// Catalogue rows of the fixture's bell set: great bells 0..4, medium-size 5..11, small 12..14.
int Row(const QString& mark, ChimeRig& w) {
    return FindGroupBell(mark[0], mark[1].digitValue(), w.Bells);
}

class Player : public PlayerFixture {
protected:
    // A chime of count steps whose step i strikes one bell, cycling through the whole set, so
    // every step is told by its sound.
    static QStringList Numbered(int count, int interval = 144) {
        static const QStringList kMarks = {"b1", "b2", "b3", "b4", "b5", "m1", "m2", "m3",
                                           "m4", "m5", "m6", "m7", "s1", "s2", "s3"};
        QStringList lines{QString::number(interval)};
        for (int i = 0; i < count; ++i) {
            lines.append(kMarks[i % kMarks.size()]);
        }
        return lines;
    }
    // The file that step i of Numbered sounds.
    static QString NumberedSound(ChimeRig& w, int i) {
        static const QStringList kMarks = {"b1", "b2", "b3", "b4", "b5", "m1", "m2", "m3",
                                           "m4", "m5", "m6", "m7", "s1", "s2", "s3"};
        return SoundOf(w, Row(kMarks[i % kMarks.size()], w));
    }
};

}  // namespace

TEST_F(Player, ThreeStepChimeSoundsStepZeroAtOnceThenOneStepPerTickAndStops) {
    auto w = StartPlayer();
    LoadWhole(*w, {"144", "s1", "m1,b1", "b2"});
    ASSERT_EQ(w->Channels->Steps.size(), 3);
    const std::int64_t f0 = offline->FramesRendered();
    w->player->btnPlayClick();
    EXPECT_TRUE(w->player->Playing());
    EXPECT_EQ(w->form.tbProgress->maximum(), 3);

    auto starts = Render(*w, kStep144);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, SoundOf(*w, 14));
    EXPECT_EQ(starts[0].frame, f0 + kLookAhead);

    starts = TickAndRender(*w);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].path, SoundOf(*w, 11));
    EXPECT_EQ(starts[1].path, SoundOf(*w, 0));
    EXPECT_EQ(starts[0].frame, f0 + kStep144 + kLookAhead);
    EXPECT_EQ(starts[1].frame, starts[0].frame) << "the bells of a step start together";
    EXPECT_EQ(w->StepPosition, 1);
    EXPECT_EQ(w->form.tbProgress->value(), 1);

    starts = TickAndRender(*w);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, SoundOf(*w, 1));
    EXPECT_EQ(starts[0].frame, f0 + 2 * kStep144 + kLookAhead);

    EXPECT_TRUE(TickAndRender(*w).empty());
    EXPECT_FALSE(w->player->Playing());
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->form.tbProgress->value(), 0);
    EXPECT_EQ(w->form.lblPlayTime->text(), "0:00:00");
    // A key strike after playback is not scheduled: it starts at the next buffer.
    const std::int64_t next = offline->FramesRendered();
    w->voices->StrikeBell(0);
    starts = Render(*w, 128);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].frame, next) << "key strikes are never scheduled";
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Player, LateTicksStillSoundOnTheGridAndAVeryLateWindowCatchesUp) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(10));
    const std::int64_t f0 = offline->FramesRendered();
    w->player->btnPlayClick();
    Render(*w, kStep144 + 12 * 48);  // the window was busy: the tick comes 12 ms late
    w->player->mmTimerTimer();
    auto starts = Render(*w, kStep144);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].frame, f0 + kStep144 + kLookAhead);

    // Steps 2 and 3 were due at 288 and 432 ms (sounding 20 ms later); the window comes back
    // at 460 ms. They sounded on the grid all the same, and its next tick catches up.
    starts = Render(*w, 460 * 48 - (offline->FramesRendered() - f0));
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].frame, f0 + 2 * kStep144 + kLookAhead);
    EXPECT_EQ(starts[1].frame, f0 + 3 * kStep144 + kLookAhead);
    EXPECT_EQ(starts[1].path, NumberedSound(*w, 3));
    w->player->mmTimerTimer();
    EXPECT_EQ(w->StepPosition, 3);
    EXPECT_EQ(w->form.tbProgress->value(), 3);
    starts = Render(*w, kStep144);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].frame, f0 + 4 * kStep144 + kLookAhead);
}

TEST_F(Player, PauseKeepsThePositionAndPlayGoesOnWithTheNextStepOnANewGrid) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(10));
    w->player->btnPlayClick();
    Render(*w, kStep144);
    for (int i = 1; i <= 5; ++i) {
        TickAndRender(*w);
    }
    w->player->btnPauseClick();
    EXPECT_FALSE(w->player->Playing());
    EXPECT_EQ(w->StepPosition, 5);
    Render(*w, 1000 * 48);

    const std::int64_t resumed = offline->FramesRendered();
    w->player->btnPlayClick();
    EXPECT_TRUE(Render(*w, kStep144).empty()) << "step 5 is not played again";
    const auto starts = TickAndRender(*w);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, NumberedSound(*w, 6));
    EXPECT_EQ(starts[0].frame, resumed + kStep144 + kLookAhead);
}

TEST_F(Player, WindingStopsAtBothEndsAndTheNextTickPlaysTheFollowingStep) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(100));
    w->StepPosition = 98;
    w->player->btnFFClick();
    EXPECT_EQ(w->StepPosition, 99);
    w->player->btnFFClick();
    EXPECT_EQ(w->StepPosition, 99);
    EXPECT_EQ(w->form.tbProgress->value(), 0) << "winding does not move the slider";
    EXPECT_TRUE(Render(*w, kStep144).empty()) << "winding plays nothing";
    w->player->btnPlayClick();
    w->player->mmTimerTimer();
    EXPECT_FALSE(w->player->Playing()) << "the tick after the last step ends the chime";
    EXPECT_EQ(w->StepPosition, 0);

    w->StepPosition = 3;
    w->player->btnRewClick();
    EXPECT_EQ(w->StepPosition, 0);
    w->player->btnRewClick();
    EXPECT_EQ(w->StepPosition, 0);
    w->player->btnPlayClick();
    auto starts = Render(*w, kStep144);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, NumberedSound(*w, 0));
    starts = TickAndRender(*w);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, NumberedSound(*w, 1));
}

TEST_F(Player, ProgressSliderSetsThePositionAndThePageFollows) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(200));
    w->form.udPage->setMaximum(4);
    w->form.tbProgress->SetMax(199);
    const int redraws = w->score->RedrawCount();
    w->form.tbProgress->SetPosition(130);
    EXPECT_EQ(w->StepPosition, 130);
    EXPECT_EQ(w->CurrentPage, 2);
    EXPECT_EQ(w->form.udPage->value(), 3);
    EXPECT_EQ(w->score->RedrawCount(), redraws + 1);
    EXPECT_EQ(w->Markers[0]->x(), MarkerLeft(130, w->form.pnlSmallBells->width()));
    w->form.tbProgress->SetPosition(131);
    EXPECT_EQ(w->score->RedrawCount(), redraws + 1) << "same page: no redraw";
}

TEST_F(Player, TempoCommandsStopAtTheSliderEndsAndTheTimerFollows) {
    auto w = StartPlayer();
    TSlider* temp = w->form.tbTemp;
    temp->SetPosition(60);
    w->player->nTempUpClick();
    EXPECT_EQ(temp->value(), 50);
    EXPECT_EQ(w->Channels->StepInterval, 50);
    EXPECT_EQ(w->form.mmTimer->interval(), 50);
    EXPECT_EQ(w->form.btnTemp->text(), "Tempo: 1000");
    temp->SetPosition(990);
    w->player->nTempDownClick();
    EXPECT_EQ(temp->value(), 1000);
    EXPECT_EQ(w->Channels->StepInterval, 1000);
    EXPECT_EQ(w->form.btnTemp->text(), "Tempo: 50");
    w->player->nTempDownClick();
    EXPECT_EQ(temp->value(), 1000);

    // A chime's interval shows on the slider; 144 ms is "Tempo: 906".
    LoadWhole(*w, Numbered(100));
    EXPECT_EQ(temp->value(), 144);
    EXPECT_EQ(w->form.btnTemp->text(), "Tempo: 906");
    EXPECT_EQ(w->form.lblLong->text(), "General duration: 0:00:14");
    EXPECT_EQ(w->form.tbProgress->toolTip(), "General duration: 0:00:14");
    w->player->nTempDownClick();
    EXPECT_EQ(w->form.lblLong->text(), "General duration: 0:00:16");
}

TEST_F(Player, ATempoChangeWhilePlayingStartsANewGridAtTheNewInterval) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(20));
    w->player->btnPlayClick();
    Render(*w, kStep144);
    TickAndRender(*w);
    Render(*w, 30 * 48);
    const std::int64_t changed = offline->FramesRendered();
    w->player->nTempUpClick();  // 119 ms
    EXPECT_TRUE(w->player->Playing());
    w->player->mmTimerTimer();
    const auto starts = Render(*w, 119 * 48 + 2 * kLookAhead);
    ASSERT_EQ(starts.size(), 1u);
    // Step 2 sounded on the old grid 20 ms after the last render, before the change.
    EXPECT_EQ(starts[0].path, NumberedSound(*w, 3));
    EXPECT_EQ(starts[0].frame, changed + 119 * 48 + kLookAhead);
}

TEST_F(Player, ElapsedTimeFollowsThePosition) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(1000, 500));
    w->form.tbProgress->SetMax(999);
    w->form.udPage->setMaximum(16);
    w->form.tbProgress->SetPosition(998);
    w->player->btnPlayClick();
    w->player->mmTimerTimer();
    EXPECT_EQ(w->form.lblPlayTime->text(), "0:08:19");
    EXPECT_EQ(w->form.lblLong->text(), "General duration: 0:08:20");
}

TEST_F(Player, GroupBoxesRestsAndUnknownMarks) {
    auto w = StartPlayer();
    LoadWhole(*w, {"144", "s1,m1", "x1,s1", "#", "s,m", "b1"});
    w->form.cbMiddle->setChecked(false);
    w->player->btnPlayClick();
    auto starts = Render(*w, kStep144);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, SoundOf(*w, 14));
    starts = TickAndRender(*w);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, SoundOf(*w, 14));
    EXPECT_TRUE(TickAndRender(*w).empty());
    EXPECT_TRUE(TickAndRender(*w).empty());
    w->form.cbBig->setChecked(false);
    EXPECT_TRUE(TickAndRender(*w).empty());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Player, VolumeMarksScaleTheOutputLevelAndMoveTheControls) {
    auto w = StartPlayer();
    auto levelAfter = [&](int level, const QString& mark) {
        w->volume->SetLevelFromScore(level);
        LoadWhole(*w, {"144", mark});
        w->player->PlayStep(0, false);
        return w->volume->GetVolume();
    };
    EXPECT_EQ(levelAfter(200, "v+2"), 255);
    EXPECT_EQ(w->form.tbVolume->value(), 0);
    EXPECT_EQ(w->form.btnVolume->text(), "Volume: 255");
    EXPECT_EQ(levelAfter(99, "v-2"), 50);
    EXPECT_EQ(w->form.tbVolume->value(), 205);
    EXPECT_EQ(w->form.btnVolume->text(), "Volume: 50");
    EXPECT_EQ(levelAfter(99, "v*2"), 99);
    EXPECT_EQ(w->form.btnVolume->text(), "Volume: 99");
    EXPECT_EQ(levelAfter(100, "v+1.5"), 150);
    // Zero and non-numbers are skipped; the other marks of the step still act.
    EXPECT_EQ(levelAfter(100, "v-0,v+inf,v+nan,v+2"), 200);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Player, ReleaseWorkersStartAtPositionsOneMoreThanAPageStart) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(140, 50));
    w->form.udPage->setMaximum(3);
    w->player->btnPlayClick();
    QList<int> positions;
    for (int i = 0; i < 139; ++i) {
        const int before = w->player->ReleaseWorkersStarted();
        w->player->mmTimerTimer();
        offline->Render(50 * 48);
        if (w->player->ReleaseWorkersStarted() != before) {
            positions.append(w->StepPosition);
        }
    }
    EXPECT_EQ(positions, (QList<int>{1, 65, 129}));
}

TEST_F(Player, PageTurnsRedrawTheScoreOnlyWhileItIsShown) {
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        auto w = StartPlayer();
        w->form.cbShowNotes->setChecked(shown);
        LoadWhole(*w, Numbered(130, 50));
        w->form.udPage->setMaximum(3);
        w->player->btnPlayClick();
        for (int i = 1; i < 64; ++i) {
            w->player->mmTimerTimer();
        }
        const int redraws = w->score->RedrawCount();
        EXPECT_EQ(w->form.udPage->value(), 1);
        w->player->mmTimerTimer();
        EXPECT_EQ(w->StepPosition, 64);
        EXPECT_EQ(w->form.udPage->value(), 2);
        EXPECT_EQ(w->score->RedrawCount(), redraws + (shown ? 1 : 0));
        w->player->mmTimerTimer();
        EXPECT_EQ(w->score->RedrawCount(), redraws + (shown ? 1 : 0));
    }
}

TEST_F(Player, ResetEmptiesTheScoreAndStops) {
    auto w = StartPlayer();
    LoadWhole(*w, {"200;s-,b-", "s1", "b1"});
    EXPECT_FALSE(w->Channels->GroupAnimation[0]);
    w->player->btnPlayClick();
    w->player->mmTimerTimer();
    w->CasualMode = true;
    w->player->ResetPlayer();
    EXPECT_FALSE(w->player->Playing());
    EXPECT_TRUE(w->Channels->Steps.isEmpty());
    EXPECT_TRUE(w->Channels->SmallSteps.isEmpty());
    EXPECT_EQ(w->Channels->GroupAnimation, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_FALSE(w->form.udPage->isEnabled());
    EXPECT_FALSE(w->CasualMode);
    w->CasualMode = true;
    w->player->SetKeepCasual();
    w->player->ResetPlayer();
    EXPECT_TRUE(w->CasualMode);
    w->player->ResetPlayer();
    EXPECT_FALSE(w->CasualMode) << "keep-casual lasts one reset";
}

TEST_F(Player, TicksCarryTheSliderAlongAndStopGoesBackToStepZeroWithOneRedraw) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(130));
    w->form.udPage->setMaximum(3);
    w->player->btnPlayClick();
    for (int i = 0; i < 70; ++i) {
        w->player->mmTimerTimer();
    }
    EXPECT_EQ(w->StepPosition, 70);
    EXPECT_EQ(w->form.tbProgress->value(), 70);
    EXPECT_EQ(w->CurrentPage, 1);
    EXPECT_EQ(w->Markers[0]->x(), MarkerLeft(70, w->form.pnlSmallBells->width()));

    const int redraws = w->score->RedrawCount();
    w->player->btnStopClick();
    EXPECT_FALSE(w->player->Playing());
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->form.tbProgress->value(), 0);
    EXPECT_EQ(w->CurrentPage, 0);
    EXPECT_EQ(w->form.udPage->value(), 1);
    EXPECT_EQ(w->Markers[0]->x(), MarkerLeft(0, w->form.pnlSmallBells->width()));
    EXPECT_EQ(w->score->RedrawCount(), redraws + 1) << "page 1 is drawn once";

    // Wound forward without the slider, the position still comes back with the slider's page.
    w->StepPosition = 98;
    w->player->btnFFClick();
    w->player->ResetPlayer();
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->Markers[0]->x(), MarkerLeft(0, w->form.pnlSmallBells->width()));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}
