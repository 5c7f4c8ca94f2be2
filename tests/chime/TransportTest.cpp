#include "chime/core/Transport.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(Transport, DurationsAndCaptions) {
    EXPECT_EQ(GeneralDurationText(100, 144), "General duration: 0:00:14");
    EXPECT_EQ(ElapsedText(0, 144), "0:00:00");
    EXPECT_EQ(ElapsedText(1076, 144), "0:02:34");
    EXPECT_EQ(DurationText(3661), "1:01:01");
    EXPECT_EQ(DurationText(86400 + 61), "0:01:01");
    // The product needs 64 bits: 3e10 ms is 30 000 000 s, 347 days and 5:20:00.
    EXPECT_EQ(ElapsedText(30000000, 1000), "5:20:00");
    EXPECT_EQ(TempoCaption(144), "Tempo: 906");
    EXPECT_EQ(TempoCaption(1000), "Tempo: 50");
    EXPECT_EQ(TempoCaption(50), "Tempo: 1000");
}

TEST(Transport, TempoAndWinding) {
    EXPECT_EQ(FasterPosition(60), 50);
    EXPECT_EQ(FasterPosition(148), 123);
    EXPECT_EQ(SlowerPosition(990), 1015);
    EXPECT_EQ(SlowerPosition(1040), 1050);
    EXPECT_EQ(RewindPosition(3), 0);
    EXPECT_EQ(RewindPosition(12), 7);
    EXPECT_EQ(ForwardPosition(98, 100), 99);
    EXPECT_EQ(ForwardPosition(10, 100), 15);
    EXPECT_EQ(ForwardPosition(0, 0), 0);
}

TEST(Transport, PagesAndMarkers) {
    EXPECT_EQ(WholeChimePageCount(0), 1);
    EXPECT_EQ(WholeChimePageCount(64), 1);
    EXPECT_EQ(WholeChimePageCount(65), 2);
    EXPECT_EQ(WholeChimePageCount(128), 2);
    EXPECT_EQ(WholeChimePageCount(129), 3);
    EXPECT_EQ(CustomChimePageCount(63), 1);
    EXPECT_EQ(CustomChimePageCount(64), 2);
    EXPECT_EQ(PageOf(63), 0);
    EXPECT_EQ(PageOf(64), 1);

    EXPECT_EQ(MarkerLeft(0, 640), 5);     // 0 + 4.8
    EXPECT_EQ(MarkerLeft(64, 640), 5);    // the same column of the next page
    EXPECT_EQ(MarkerLeft(8, 640), 80);    // k = 8: no offset
    EXPECT_EQ(MarkerLeft(9, 640), 90);    // k = 9: no offset
    EXPECT_EQ(MarkerLeft(15, 640), 146);  // 150 - 3.6
    EXPECT_EQ(MarkerLeft(16, 640), 165);  // 160 + 4.8
    EXPECT_EQ(MarkerLeft(8, 4), 0);       // 0.5 to the even 0
    EXPECT_EQ(MarkerLeft(8, 12), 2);      // 1.5 to the even 2
}

TEST(Transport, TickOfAWholeChimeStopsAfterTheLastStep) {
    TickState state{.position = 0, .stepCount = 3};
    TickPlan plan = PlanTick(state);
    EXPECT_FALSE(plan.stop);
    EXPECT_EQ(plan.position, 1);
    EXPECT_TRUE(plan.startReleaseWorker);
    state.position = 1;
    EXPECT_EQ(PlanTick(state).position, 2);
    EXPECT_FALSE(PlanTick(state).startReleaseWorker);
    state.position = 2;
    EXPECT_TRUE(PlanTick(state).stop);
}

TEST(Transport, TickAtTheEndLoopsOrMovesOn) {
    TickState study{.position = 127, .stepCount = 128, .currentPage = 1, .studyMode = true};
    TickPlan plan = PlanTick(study);
    EXPECT_FALSE(plan.stop);
    EXPECT_TRUE(plan.ended);
    EXPECT_FALSE(plan.drawCombination);
    EXPECT_EQ(plan.position, 0);
    EXPECT_TRUE(plan.pageChanged);
    EXPECT_FALSE(plan.startReleaseWorker);

    TickState casual = study;
    casual.casualMode = true;
    EXPECT_TRUE(PlanTick(casual).drawCombination);
    casual.position = 128;  // moved past the end by the progress slider
    EXPECT_FALSE(PlanTick(casual).drawCombination);
    EXPECT_EQ(PlanTick(casual).position, 0);

    TickState custom{.position = 69, .stepCount = 70, .currentPage = 1, .playAll = true};
    plan = PlanTick(custom);
    EXPECT_TRUE(plan.nextCustomChime);
    EXPECT_EQ(plan.position, 0);
    EXPECT_FALSE(plan.pageChanged);  // the page went back to 0 with the next chime
}

TEST(Transport, TickPagesAndReleaseWorkers) {
    TickState state{.position = 63, .stepCount = 130, .currentPage = 0};
    TickPlan plan = PlanTick(state);
    EXPECT_EQ(plan.position, 64);
    EXPECT_EQ(plan.page, 1);
    EXPECT_TRUE(plan.pageChanged);
    EXPECT_FALSE(plan.startReleaseWorker);
    for (int position : {1, 65, 129}) {
        state = {.position = position - 1, .stepCount = 200, .currentPage = PageOf(position - 1)};
        EXPECT_TRUE(PlanTick(state).startReleaseWorker) << position;
        EXPECT_FALSE(PlanTick(state).pageChanged) << position;
    }
}
