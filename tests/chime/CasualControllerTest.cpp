// Casual reproduction on a real main window, with the program's generator on a fixed seed.

#include "PlayerFixture.h"

#include "app/core/Guard.h"
#include "chime/ui/CasualController.h"
#include "chime/ui/LibraryController.h"

#include <QComboBox>
#include <QElapsedTimer>

using namespace orvane;

namespace {

class Casual : public PlayerFixture {
protected:
    static Combination Selected(ChimeRig& w) { return w.casual->SelectedCombination(); }
    // The files a step line sounds with every group box checked, sorted.
    static QStringList Files(ChimeRig& w, const QString& line) {
        QStringList files;
        for (const QString& mark : line.split(',')) {
            if (mark.size() >= 2 && QStringLiteral("smb").contains(mark[0]) && mark[1].isDigit()) {
                files.append(SoundOf(w, FindGroupBell(mark[0], mark[1].digitValue(), w.Bells)));
            }
        }
        files.sort();
        return files;
    }
    static QStringList FilesAt(const std::vector<VoiceStart>& starts, std::int64_t frame) {
        QStringList files;
        for (const VoiceStart& s : starts) {
            if (s.frame == frame) {
                files.append(s.path);
            }
        }
        files.sort();
        return files;
    }
};

}  // namespace

TEST_F(Casual, FewerThanFiveBellsOrNoStudyChimeToChooseIgnoreTheCommand) {
    {
        auto w = StartPlayer("000000000001111", "nnnnnnnnnnnmmss");
        w->casual->nGeneratorClick();
        EXPECT_FALSE(w->CasualMode);
        EXPECT_FALSE(w->player->Playing());
    }
    {
        // Five bells without groups: no group chime list offers a study chime.
        auto w = StartPlayer("111110000000000", "nnnnnnnnnnnnnnn");
        ASSERT_EQ(w->casual->EntryCounts(), (Combination{1, 1, 1}));
        QElapsedTimer timer;
        timer.start();
        w->casual->nGeneratorClick();
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_FALSE(w->CasualMode);
        EXPECT_FALSE(w->player->Playing());
    }
}

TEST_F(Casual, TheFirstDrawChoosesAChimeForEveryGroupAndPlaysIt) {
    auto w = StartPlayer();
    w->casual->nGeneratorClick();
    const Combination chosen = Selected(*w);
    for (int g = 0; g < 3; ++g) {
        EXPECT_GE(chosen[g], 1) << "group " << g;
    }
    EXPECT_TRUE(w->CasualMode);
    EXPECT_TRUE(w->StudyMode);
    EXPECT_TRUE(w->player->Playing());
    EXPECT_EQ(w->Channels->Steps.size(), 128);
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->Channels->StepInterval, 144);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Casual, EveryPassEndChangesExactlyOneGroupAndPlaysOnFromStepZero) {
    auto w = StartPlayer();
    w->casual->nGeneratorClick();
    for (int pass = 0; pass < 4; ++pass) {
        SCOPED_TRACE(pass);
        const Combination before = Selected(*w);
        for (int i = 1; i < 128; ++i) {
            w->player->mmTimerTimer();
            offline->Render(128);
        }
        EXPECT_EQ(w->StepPosition, 127);
        EXPECT_EQ(Selected(*w), before);
        w->player->mmTimerTimer();
        const Combination after = Selected(*w);
        int changed = 0;
        for (int g = 0; g < 3; ++g) {
            changed += after[g] != before[g];
        }
        EXPECT_EQ(changed, 1);
        EXPECT_TRUE(after[0] > 0 || after[1] > 0 || after[2] > 0);
        EXPECT_EQ(w->StepPosition, 0);
        EXPECT_TRUE(w->player->Playing());
        EXPECT_TRUE(w->CasualMode);
        EXPECT_EQ(w->Channels->Steps.size(), 128);
    }
    w->player->btnStopClick();
    EXPECT_FALSE(w->CasualMode);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Casual, StartingWhileAWholeChimePlaysSwitchesToARandomCombination) {
    auto w = StartPlayer();
    w->form.cbCommon->setCurrentIndex(1);
    w->library->cbCommonChange(1);
    w->player->btnPlayClick();
    for (int i = 0; i < 5; ++i) {
        w->player->mmTimerTimer();
    }
    w->casual->nGeneratorClick();
    EXPECT_EQ(w->form.cbCommon->currentIndex(), 0);
    EXPECT_TRUE(w->StudyMode);
    EXPECT_TRUE(w->CasualMode);
    EXPECT_TRUE(w->player->Playing());
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(w->Channels->Steps.size(), 128);
    // A whole chime chosen afterwards ends casual mode.
    w->library->cbCommonChange(1);
    EXPECT_FALSE(w->CasualMode);
    EXPECT_FALSE(w->player->Playing());
}

TEST_F(Casual, ThePassEndKeepsTheCombinationWhenNoOtherCanBeDrawn) {
    // Two small bells: the small list offers its one-bell chimes; the others offer nothing.
    auto w = StartPlayer("111000000000011", "bbbnnnnnnnnnnss");
    const Combination counts = w->casual->EntryCounts();
    ASSERT_GE(counts[0], 2);
    // Leave the small list with one chime only: the pass end can then change nothing.
    QComboBox* small = w->GroupChimeBoxes[0];
    while (small->count() > 2) {
        small->removeItem(small->count() - 1);
    }
    for (int g = 1; g < 3; ++g) {
        while (w->GroupChimeBoxes[g]->count() > 1) {
            w->GroupChimeBoxes[g]->removeItem(1);
        }
    }
    small->setCurrentIndex(1);
    w->library->GroupChimeChange(0);
    w->CasualMode = true;
    w->player->btnPlayClick();
    for (int i = 0; i < 128; ++i) {
        w->player->mmTimerTimer();
    }
    EXPECT_EQ(w->StepPosition, 0);
    EXPECT_EQ(Selected(*w), (Combination{1, 0, 0}));
    EXPECT_TRUE(w->player->Playing());
}

TEST_F(Casual, TheNextCombinationStartsOnTheGridAtThePassEndWhileTheWindowIsAway) {
    auto w = StartPlayer();
    const std::int64_t step = 144 * 48;
    const std::int64_t f0 = offline->FramesRendered();
    w->casual->nGeneratorClick();
    const Combination first = Selected(*w);
    const QStringList firstSteps = w->Channels->Steps;
    ASSERT_EQ(firstSteps.size(), 128);
    // The whole pass and four steps of the next one without a tick.
    const auto starts = Render(*w, 131 * step + kLookAhead + 1);
    EXPECT_EQ(Selected(*w), first) << "the window has not looked yet";
    for (int i = 0; i < 128; ++i) {
        ASSERT_EQ(FilesAt(starts, f0 + kLookAhead + i * step), Files(*w, firstSteps[i])) << i;
    }
    w->player->mmTimerTimer();
    const Combination next = Selected(*w);
    int changed = 0;
    for (int g = 0; g < 3; ++g) {
        changed += next[g] != first[g];
    }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(w->StepPosition, 3);
    // The next pass was planned before the first one ended: its steps sounded on the grid.
    int voices = 0;
    for (int i = 0; i < 4; ++i) {
        const QStringList heard = FilesAt(starts, f0 + kLookAhead + (128 + i) * step);
        EXPECT_EQ(heard, Files(*w, w->Channels->Steps[i])) << i;
        voices += static_cast<int>(heard.size());
    }
    EXPECT_GT(voices, 0);
    EXPECT_EQ(Engine(*w).Sequencer().LateSteps(), 0u);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Casual, AWindowAwayForLongerThanAWholePassFindsTheNextCombinationPlayingAgain) {
    auto w = StartPlayer();
    const std::int64_t step = 144 * 48;
    const std::int64_t f0 = offline->FramesRendered() + kLookAhead;
    w->casual->nGeneratorClick();
    const Combination first = Selected(*w);
    ASSERT_EQ(w->Channels->Steps.size(), 128);
    // Two whole passes and four steps of a third without a tick: the second pass's plan was
    // queued by the window, the third never was.
    const auto starts = Render(*w, 2 * 128 * step + 3 * step + kLookAhead + 1);
    const orvane::StepSequencer& sequencer = Engine(*w).Sequencer();
    EXPECT_TRUE(sequencer.Playing()) << "the sound has not stopped";
    EXPECT_EQ(sequencer.Ends(), 0u);
    EXPECT_EQ(sequencer.Passes(), 2u);
    w->player->mmTimerTimer();
    EXPECT_TRUE(w->CasualMode);
    EXPECT_TRUE(w->player->Playing());
    const Combination second = Selected(*w);
    int changed = 0;
    for (int g = 0; g < 3; ++g) {
        changed += second[g] != first[g];
    }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(w->StepPosition, 3);
    // The second combination sounded on the grid in the second pass and again in the third.
    const QStringList secondSteps = w->Channels->Steps;
    int voices = 0;
    for (int pass = 1; pass <= 2; ++pass) {
        for (int i = 0; i < (pass == 1 ? 128 : 4); ++i) {
            const QStringList heard = FilesAt(starts, f0 + (pass * 128 + i) * step);
            ASSERT_EQ(heard, Files(*w, secondSteps[i])) << "pass " << pass << ", step " << i;
            voices += static_cast<int>(heard.size());
        }
    }
    EXPECT_GT(voices, 0);

    // Having caught up, the window queued a third combination: it follows this pass.
    Render(*w, 125 * step);
    w->player->mmTimerTimer();
    EXPECT_EQ(sequencer.Passes(), 3u);
    EXPECT_TRUE(w->player->Playing());
    EXPECT_NE(Selected(*w), second);
    EXPECT_EQ(Engine(*w).Sequencer().LateSteps(), 0u);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}
