// The timing grid of the playback ticks, the random combinations of study chimes and the custom
// chime file check.

#include "chime/core/CasualDraw.h"
#include "chime/core/CustomChime.h"
#include "chime/core/StepClock.h"

#include <gtest/gtest.h>
#include <cmath>
#include <random>
#include <set>

using namespace orvane;
using namespace std::chrono_literals;

namespace {

StepClock::TimePoint At(std::chrono::milliseconds ms) {
    return StepClock::TimePoint(ms);
}

// Random(n) from a fixed-seed generator.
CasualRandom Seeded(unsigned seed) {
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine](int n) { return std::uniform_int_distribution<int>(0, n - 1)(*engine); };
}

}  // namespace

TEST(StepClock, TicksKeepTheirGridWhenHandledLateWithinAnInterval) {
    StepClock clock;
    clock.Anchor(At(1000ms), 144);
    EXPECT_EQ(clock.Ideal(), At(1000ms));
    // Late by 15 ms, then on time, then late by almost a whole interval: still the grid.
    EXPECT_EQ(clock.Advance(At(1159ms)), At(1144ms));
    EXPECT_EQ(clock.Advance(At(1288ms)), At(1288ms));
    EXPECT_EQ(clock.Advance(At(1432ms + 143ms)), At(1432ms));
    EXPECT_EQ(clock.Anchorings(), 1);
    EXPECT_EQ(clock.Tick(), 3);
}

TEST(StepClock, ATickLaterThanTheNextOneStartsANewGridAsTheTimerDoes) {
    StepClock clock;
    clock.Anchor(At(0ms), 100);
    // Tick 1 is due at 100 ms but handled at 250 ms, after tick 2 was due.
    EXPECT_EQ(clock.Advance(At(250ms)), At(250ms));
    EXPECT_EQ(clock.Anchorings(), 2);
    EXPECT_EQ(clock.Advance(At(351ms)), At(350ms));
}

TEST(StepClock, AnIntervalChangeStartsOver) {
    StepClock clock;
    clock.Anchor(At(0ms), 144);
    clock.Advance(At(144ms));
    clock.Anchor(At(200ms), 50);
    EXPECT_EQ(clock.Advance(At(250ms)), At(250ms));
    EXPECT_EQ(clock.IntervalMs(), 50);
}

TEST(StepClock, VoicesStartOnAnExactFrameGridAfterTheLookAhead) {
    EXPECT_EQ(StepClock::LookAheadFrames(48000), 960);
    EXPECT_EQ(StepClock::LookAheadFrames(44100), 882);
    StepClock clock;
    clock.Anchor(At(0ms), 144);
    EXPECT_EQ(clock.StartFrame(10000, 48000), 10960);
    // The output's estimates wobble; the voices keep the exact grid.
    clock.Advance(At(150ms));
    EXPECT_EQ(clock.StartFrame(10000 + 6912 + 7, 48000), 10960 + 6912);
    clock.Advance(At(290ms));
    EXPECT_EQ(clock.StartFrame(10000 + 2 * 6912 - 480, 48000), 10960 + 2 * 6912);
    EXPECT_EQ(clock.Resyncs(), 0);
    // A drift of more than 10 ms (480 frames) starts the frame grid again from the estimate.
    clock.Advance(At(432ms));
    EXPECT_EQ(clock.StartFrame(10000 + 3 * 6912 + 481, 48000), 10960 + 3 * 6912 + 481);
    EXPECT_EQ(clock.Resyncs(), 1);
    clock.Advance(At(576ms));
    EXPECT_EQ(clock.StartFrame(10000 + 4 * 6912 + 470, 48000), 10960 + 4 * 6912 + 481);
}

TEST(StepClock, AnIntervalThatIsNoWholeNumberOfFramesDoesNotAccumulateRounding) {
    StepClock clock;
    clock.Anchor(At(0ms), 144);  // 6350.4 frames at 44.1 kHz
    const std::int64_t first = clock.StartFrame(0, 44100);
    for (int n = 1; n <= 1000; ++n) {
        clock.Advance(At(n * 144ms));
        const std::int64_t exact = first + static_cast<std::int64_t>(std::nearbyint(n * 6350.4));
        ASSERT_EQ(clock.StartFrame(exact - 882 + (n % 3) - 1, 44100), exact);
    }
}

TEST(CasualDraw, PickOtherNeverReturnsTheSelectedEntry) {
    const CasualRandom random = Seeded(3);
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const int picked = PickOther(4, 2, random);
        EXPECT_NE(picked, 2);
        seen.insert(picked);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 3}));
}

TEST(CasualDraw, FirstDrawGivesEveryGroupWithChimesARealChime) {
    const CasualRandom random = Seeded(11);
    for (int i = 0; i < 50; ++i) {
        const auto next = DrawCombination({0, 0, 0}, {4, 3, 2}, random);
        ASSERT_TRUE(next);
        EXPECT_GE((*next)[0], 1);
        EXPECT_GE((*next)[1], 1);
        EXPECT_EQ((*next)[2], 1);
    }
    // A list with "Chime selection" alone keeps its entry.
    const auto next = DrawCombination({0, 0, 0}, {1, 3, 1}, random);
    ASSERT_TRUE(next);
    EXPECT_EQ((*next)[0], 0);
    EXPECT_GE((*next)[1], 1);
    EXPECT_EQ((*next)[2], 0);
}

TEST(CasualDraw, LaterDrawsChangeExactlyOneGroupAndNeverSilenceAll) {
    const CasualRandom random = Seeded(5);
    Combination current{2, 0, 0};
    const Combination counts{4, 3, 1};
    for (int i = 0; i < 300; ++i) {
        const auto next = DrawCombination(current, counts, random);
        ASSERT_TRUE(next);
        int changed = 0;
        for (int g = 0; g < 3; ++g) {
            changed += (*next)[g] != current[g];
        }
        EXPECT_EQ(changed, 1);
        EXPECT_EQ((*next)[2], 0) << "a list without chimes never changes";
        EXPECT_TRUE((*next)[0] > 0 || (*next)[1] > 0);
        current = *next;
    }
}

TEST(CasualDraw, NothingToDrawIsReportedInsteadOfRetryingForever) {
    // No list offers a study chime.
    EXPECT_FALSE(CanDrawCombination({0, 0, 0}, {1, 1, 1}));
    EXPECT_FALSE(DrawCombination({0, 0, 0}, {1, 1, 1}, Seeded(1)));
    EXPECT_FALSE(CanDrawCombination({-1, -1, -1}, {0, 0, 0}));
    // The one chime of the one list is playing: its only other entry is silence.
    EXPECT_FALSE(CanDrawCombination({1, 0, 0}, {2, 1, 1}));
    EXPECT_FALSE(DrawCombination({1, 0, 0}, {2, 1, 1}, Seeded(1)));
    // With a second chime, or another group playing, there is a way on.
    EXPECT_TRUE(CanDrawCombination({1, 0, 0}, {3, 1, 1}));
    EXPECT_TRUE(CanDrawCombination({1, 0, 1}, {2, 1, 2}));
    const auto next = DrawCombination({1, 0, 1}, {2, 1, 2}, Seeded(1));
    ASSERT_TRUE(next);
    EXPECT_TRUE(*next == (Combination{0, 0, 1}) || *next == (Combination{1, 0, 0}));
}

TEST(CustomChime, TheFourLeadingLinesAndAHeaderAreRequired) {
    const QStringList good = {
        "111110000000000", "bbbbbnnnnnnnnnn", "Name", "About it", "200", "b1", "b2"};
    const auto chime = ParseCustomChime(good);
    ASSERT_TRUE(chime);
    EXPECT_EQ(chime->bells, "111110000000000");
    EXPECT_EQ(chime->types, "bbbbbnnnnnnnnnn");
    EXPECT_EQ(chime->name, "Name");
    EXPECT_EQ(chime->description, "About it");
    EXPECT_EQ(chime->score, (QStringList{"200", "b1", "b2"}));

    EXPECT_FALSE(ParseCustomChime(good.mid(0, 4))) << "no header";
    EXPECT_FALSE(ParseCustomChime({"200;b-", "b1", "b2", "s1", "m1", "b3"})) << "a plain score";
    QStringList shortSet = good;
    shortSet[0] = "11111";
    EXPECT_FALSE(ParseCustomChime(shortSet));
    QStringList shortTypes = good;
    shortTypes[1] = "bbbbbnnnnnnnnnnn";
    EXPECT_FALSE(ParseCustomChime(shortTypes));
}

TEST(CustomChime, DescriptionShowsTheFourthLineThenTheName) {
    EXPECT_EQ(CustomChimeDescription({"1", "2", "Name", "About it"}), "About it\n\nName");
    EXPECT_FALSE(CustomChimeDescription({"1", "2", "Name"}));
    EXPECT_EQ(CustomChimePath("/p/Custom/", "village"), "/p/Custom/village.kol");
}
