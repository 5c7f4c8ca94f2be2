// The engine's sequencer driven by the real player while the window thread is away: every
// voice at its exact frame across pause, tempo change, winding, a slider drag, a group switch
// and the study loop; a volume mark at its step's frame; the window catching up afterwards.

#include "PlayerFixture.h"

#include "app/core/Guard.h"
#include "sound/core/VolumeControl.h"
#include "sound/ui/VolumeController.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

using namespace orvane;

namespace {

constexpr std::int64_t kStep144 = 144 * 48;

class Sequenced : public PlayerFixture {
protected:
    static const QStringList& Marks() {
        static const QStringList kMarks = {"b1", "b2", "b3", "b4", "b5", "m1", "m2", "m3",
                                           "m4", "m5", "m6", "m7", "s1", "s2", "s3"};
        return kMarks;
    }
    // count steps, step i striking one bell (cycling through the set).
    static QStringList Numbered(int count) {
        QStringList lines{"144"};
        for (int i = 0; i < count; ++i) {
            lines.append(Marks()[i % Marks().size()]);
        }
        return lines;
    }
    static QString StepSound(ChimeRig& w, int step) {
        const QString& mark = Marks()[step % Marks().size()];
        return SoundOf(w, FindGroupBell(mark[0], mark[1].digitValue(), w.Bells));
    }
    // (step, frame) pairs, told by sound, of the starts.
    static std::vector<std::pair<int, std::int64_t>> Steps(ChimeRig& w,
                                                           const std::vector<VoiceStart>& starts,
                                                           int count) {
        std::vector<std::pair<int, std::int64_t>> steps;
        for (const VoiceStart& s : starts) {
            int step = -1;
            for (int i = 0; i < count && step < 0; ++i) {
                if (StepSound(w, i) == s.path) {
                    step = i;
                }
            }
            steps.emplace_back(step, s.frame);
        }
        return steps;
    }
    using Expected = std::vector<std::pair<int, std::int64_t>>;
};

}  // namespace

TEST_F(Sequenced, TransportCommandsTakeEffectOnTheGridWithoutAnyTick) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(15));  // one bell per step: the sound names the step
    const std::int64_t f0 = offline->FramesRendered();
    w->player->btnPlayClick();
    // Four steps while the window does nothing at all.
    auto starts = Render(*w, 3 * kStep144 + kLookAhead + 1);
    EXPECT_EQ(Steps(*w, starts, 15), (Expected{{0, f0 + kLookAhead},
                                              {1, f0 + kStep144 + kLookAhead},
                                              {2, f0 + 2 * kStep144 + kLookAhead},
                                              {3, f0 + 3 * kStep144 + kLookAhead}}));

    // Pause between steps: nothing more; Play goes on with step 4 one interval after it.
    Render(*w, 100 * 48);
    w->player->btnPauseClick();
    EXPECT_TRUE(Render(*w, 1000 * 48).empty());
    const std::int64_t resumed = offline->FramesRendered();
    w->player->btnPlayClick();
    starts = Render(*w, kStep144 + kLookAhead + 1);
    EXPECT_EQ(Steps(*w, starts, 15), (Expected{{4, resumed + kStep144 + kLookAhead}}));

    // Forward winding: 5 on from the position the window knows (4); the grid stays.
    const std::int64_t grid = resumed + kStep144 + kLookAhead;
    w->player->mmTimerTimer();
    ASSERT_EQ(w->StepPosition, 4);
    w->player->btnFFClick();
    starts = Render(*w, kStep144);
    EXPECT_EQ(Steps(*w, starts, 15), (Expected{{10, grid + kStep144}}));

    // The slider dragged back to 2 while playing: step 3 next, on the same grid.
    w->player->mmTimerTimer();
    w->form.tbProgress->SetPosition(2);
    starts = Render(*w, kStep144);
    EXPECT_EQ(Steps(*w, starts, 15), (Expected{{3, grid + 2 * kStep144}}));

    // The great bells switched off: steps 4 (a great bell) is silent, step 5 sounds.
    w->form.cbBig->setChecked(false);
    starts = Render(*w, 2 * kStep144);
    EXPECT_EQ(Steps(*w, starts, 15), (Expected{{5, grid + 4 * kStep144}}));
    w->form.cbBig->setChecked(true);

    // Faster: the next step one new interval (plus the look-ahead) after the change.
    Render(*w, 50 * 48);
    const std::int64_t changed = offline->FramesRendered();
    w->player->nTempUpClick();  // 119 ms
    starts = Render(*w, 2 * 119 * 48 + kLookAhead + 1);
    EXPECT_EQ(Steps(*w, starts, 15), (Expected{{6, changed + kLookAhead + 119 * 48},
                                              {7, changed + kLookAhead + 2 * 119 * 48}}));
    EXPECT_EQ(Engine(*w).Sequencer().LateSteps(), 0u);

    // The window catches up in one tick.
    w->player->mmTimerTimer();
    EXPECT_EQ(w->StepPosition, 7);
    EXPECT_EQ(w->form.tbProgress->value(), 7);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Sequenced, AStudyChimeLoopsOnTheGridAndAWholeChimeStopsWhileTheWindowIsAway) {
    auto w = StartPlayer();
    LoadWhole(*w, Numbered(3));
    w->StudyMode = true;
    const std::int64_t f0 = offline->FramesRendered();
    w->player->btnPlayClick();
    const auto starts = Steps(*w, Render(*w, 7 * kStep144), 3);
    ASSERT_EQ(starts.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(starts[i], std::make_pair(i % 3, f0 + kLookAhead + i * kStep144)) << i;
    }
    w->player->mmTimerTimer();
    EXPECT_TRUE(w->player->Playing());
    EXPECT_EQ(w->StepPosition, 0);

    // A whole chime ends by itself; the window sees it on its next tick.
    w->player->btnStopClick();
    w->StudyMode = false;
    w->player->btnPlayClick();
    EXPECT_EQ(Render(*w, 10 * kStep144).size(), 3u);
    EXPECT_TRUE(w->player->Playing());
    w->player->mmTimerTimer();
    EXPECT_FALSE(w->player->Playing());
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->form.lblPlayTime->text(), "0:00:00");
}

TEST_F(Sequenced, AVolumeMarkSetsTheLevelAtItsFrameAndTheControlsFollowOnTheTick) {
    auto w = StartPlayer();
    w->volume->SetLevelFromScore(200);
    LoadWhole(*w, {"144", "s1", "v-2,s2", "s3"});
    const std::int64_t f0 = offline->FramesRendered();
    w->player->btnPlayClick();
    const Mixer& mixer = Engine(*w).AudioMixer();
    Render(*w, kStep144 + kLookAhead);  // up to the frame of step 1, not including it
    EXPECT_EQ(VolumeControl::LevelOfWord(mixer.VolumeWord()), 200);
    Render(*w, 1);
    EXPECT_EQ(offline->FramesRendered(), f0 + kStep144 + kLookAhead + 1);
    EXPECT_EQ(VolumeControl::LevelOfWord(mixer.VolumeWord()), 100);
    EXPECT_EQ(w->form.btnVolume->text(), "Volume: 200") << "the window has not looked yet";
    w->player->mmTimerTimer();
    EXPECT_EQ(w->form.btnVolume->text(), "Volume: 100");
    EXPECT_EQ(w->form.tbVolume->value(), 155);
    EXPECT_EQ(w->volume->GetVolume(), 100) << "following does not write the level back";
}
