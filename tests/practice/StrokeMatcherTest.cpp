#include "practice/core/ExpectedNotes.h"
#include "practice/core/PracticeStats.h"
#include "practice/core/StrokeMatcher.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// One frame per millisecond keeps the numbers readable: a step of 200 ms, windows of +-100.
constexpr int kRate = 1000;
constexpr int kInterval = 200;

// Great bells b1, b2 at rows 0, 1; medium-size m1, m2 at rows 3, 2; small s1 at row 14.
BellSet TestBells() {
    BellSet set;
    for (int row : {0, 1}) {
        set.inSet[row] = true;
        set.group[row] = kGreatGroup;
    }
    for (int row : {2, 3}) {
        set.inSet[row] = true;
        set.group[row] = kMiddleGroup;
    }
    set.inSet[14] = true;
    set.group[14] = kSmallGroup;
    return set;
}

// A matcher over `steps` practising the great bells, every step reported on a 200 ms grid
// from frame 1000.
StrokeMatcher Pass(const QStringList& steps, std::array<bool, 3> groups = {false, false, true}) {
    const BellSet bells = TestBells();
    StrokeMatcher matcher(ExpectedNotes(steps, groups, bells), GroupOfBells(bells), int(steps.size()), kRate);
    matcher.StepSounded(0, 1000, kInterval);
    return matcher;
}

TEST(ExpectedNotesTest, PractisedGroupsOnlyOneNotePerBellOfAChord) {
    const QStringList steps{"b1,m1", "#", "b1,b2,b2,v+2", "s1,m2", "bx,b"};
    const auto notes = ExpectedNotes(steps, {false, true, true}, TestBells());
    ASSERT_EQ(notes.size(), 5u);
    EXPECT_EQ(notes[0].bell, 0);
    EXPECT_EQ(notes[1].bell, 3);  // m1 counts from the lightest bell
    EXPECT_EQ(notes[1].group, 1);
    EXPECT_EQ(notes[2].step, 2);
    EXPECT_EQ(notes[3].bell, 1);
    EXPECT_EQ(notes[3].rank, 2);
    EXPECT_EQ(notes[4].bell, 2);
}

TEST(StrokeMatcherTest, ClassifiesOnTimeEarlyLateAndMissed) {
    StrokeMatcher m = Pass({"b1", "b1", "b1", "b1", "b1"});
    m.AddStroke(0, 1005);   // +5
    m.AddStroke(0, 1170);   // -30, ahead
    m.AddStroke(0, 1480);   // +80, behind
    m.AddStroke(0, 1550);   // -50, the edge of "a little off"
    m.Finish(2000);
    const auto& o = m.NoteOutcomes();
    EXPECT_EQ(o[0].result, NoteResult::OnTime);
    EXPECT_EQ(o[0].errorFrames, 5);
    EXPECT_EQ(o[1].result, NoteResult::SlightlyOff);
    EXPECT_EQ(o[1].errorFrames, -30);
    EXPECT_EQ(o[2].result, NoteResult::Off);
    EXPECT_EQ(o[3].result, NoteResult::SlightlyOff);
    EXPECT_EQ(o[4].result, NoteResult::Missed);
    for (const StrokeOutcome& s : m.Strokes()) {
        EXPECT_EQ(s.result, StrokeResult::Hit);
    }
}

TEST(StrokeMatcherTest, DecidesANoteOnlyOnceItsWindowHasClosed) {
    StrokeMatcher m = Pass({"b1", "b1"});
    EXPECT_EQ(m.Advance(1100), 0);  // the window of step 0 ends at 1100, inclusive
    m.AddStroke(0, 1100);
    EXPECT_EQ(m.Advance(1101), 1);
    EXPECT_EQ(m.NoteOutcomes()[0].result, NoteResult::Off);
    // Step 1 is predicted one interval on; a late report moves it.
    EXPECT_EQ(m.StepFrame(1), 1200);
    m.Expect(1, 1190, kInterval);  // a plan gives way to the report
    EXPECT_EQ(m.StepFrame(1), 1190);
    m.StepSounded(1, 1210, kInterval);
    m.AddStroke(0, 1215);
    m.Advance(1311);
    EXPECT_EQ(m.NoteOutcomes()[1].result, NoteResult::OnTime);
    EXPECT_EQ(m.NoteOutcomes()[1].errorFrames, 5);
}

TEST(StrokeMatcherTest, TwoStrokesNearOneNoteGiveAHitAndAnExtra) {
    StrokeMatcher m = Pass({"b1", "#"});
    m.AddStroke(0, 1030);
    m.AddStroke(0, 990);
    m.AddStroke(0, 1300);  // no note near it
    m.Finish(1400);
    EXPECT_EQ(m.NoteOutcomes()[0].errorFrames, -10);
    EXPECT_EQ(m.Strokes()[0].result, StrokeResult::Extra);
    EXPECT_EQ(m.Strokes()[1].result, StrokeResult::Hit);
    EXPECT_EQ(m.Strokes()[2].result, StrokeResult::Extra);
}

TEST(StrokeMatcherTest, AStrokeExactlyHalfAStepAwayIsInTheWindow) {
    {
        // Between two notes of its bell it goes to the earlier one.
        StrokeMatcher m = Pass({"b1", "b1"});
        m.AddStroke(0, 1100);
        m.Finish(1500);
        EXPECT_EQ(m.NoteOutcomes()[0].errorFrames, 100);
        EXPECT_EQ(m.NoteOutcomes()[1].result, NoteResult::Missed);
    }
    {
        // ... unless the earlier one has a nearer stroke.
        StrokeMatcher m = Pass({"b1", "b1"});
        m.AddStroke(0, 1000);
        m.AddStroke(0, 1100);
        m.Finish(1500);
        EXPECT_EQ(m.NoteOutcomes()[0].errorFrames, 0);
        EXPECT_EQ(m.NoteOutcomes()[1].errorFrames, -100);
    }
    {
        // One frame further is outside.
        StrokeMatcher m = Pass({"b1", "#"});
        m.AddStroke(0, 899);
        m.Finish(1500);
        EXPECT_EQ(m.NoteOutcomes()[0].result, NoteResult::Missed);
        EXPECT_EQ(m.Strokes()[0].result, StrokeResult::Extra);
    }
}

TEST(StrokeMatcherTest, WrongBellOfTheSameGroupOnly) {
    // b2 struck for b1; b2's own note is a step later, out of reach.
    StrokeMatcher m = Pass({"b1", "b2", "b1"});
    m.AddStroke(1, 1010);
    m.AddStroke(3, 1390);  // a medium-size bell in the window of a great bell: extra
    m.Finish(2000);
    EXPECT_EQ(m.NoteOutcomes()[0].result, NoteResult::WrongBell);
    EXPECT_EQ(m.NoteOutcomes()[0].stroke, 0);
    EXPECT_EQ(m.Strokes()[0].result, StrokeResult::WrongBell);
    EXPECT_EQ(m.NoteOutcomes()[1].result, NoteResult::Missed);
    EXPECT_EQ(m.NoteOutcomes()[2].result, NoteResult::Missed);
    EXPECT_EQ(m.Strokes()[1].result, StrokeResult::Extra);
}

TEST(StrokeMatcherTest, ChordsCountPerBell) {
    StrokeMatcher m = Pass({"b1,b2", "b1,b2"});
    m.AddStroke(1, 995);
    m.AddStroke(0, 1030);
    m.AddStroke(1, 1212);  // b1 of the second chord not rung: missed, not a wrong bell
    m.Finish(1500);
    const auto& o = m.NoteOutcomes();
    EXPECT_EQ(o[0].errorFrames, 30);
    EXPECT_EQ(o[1].errorFrames, -5);
    EXPECT_EQ(o[2].result, NoteResult::Missed);
    EXPECT_EQ(o[3].result, NoteResult::OnTime);
}

TEST(StrokeMatcherTest, StopAndCountInBounds) {
    StrokeMatcher m = Pass({"b1", "b1", "b1"});
    m.AcceptFrom(900);
    EXPECT_FALSE(m.AddStroke(0, 850));  // during the count-in
    EXPECT_FALSE(m.AddStroke(15, 1000));
    m.AddStroke(0, 1190);
    m.Finish(1250);  // stopped before step 2, while step 1's window was open
    EXPECT_EQ(m.NoteOutcomes()[0].result, NoteResult::Missed);
    EXPECT_EQ(m.NoteOutcomes()[1].result, NoteResult::OnTime);
    EXPECT_EQ(m.NoteOutcomes()[2].result, NoteResult::Unreached);
    EXPECT_FALSE(m.AddStroke(0, 1400));
}

TEST(PracticeStatsTest, SummaryPerPassGroupAndBell) {
    StrokeMatcher m = Pass({"b1,m1", "b2", "b1", "b2", "m1"}, {false, true, true});
    m.AddStroke(0, 1010);  // +10
    m.AddStroke(3, 1000);  // m1 0
    m.AddStroke(1, 1190);  // -10
    m.AddStroke(0, 1430);  // +30
    m.AddStroke(0, 1600);  // b1 for b2: wrong bell
    m.AddStroke(14, 1700); // a small bell: extra
    m.Finish(3000);        // m1 at 1800 missed
    const PracticeSummary s = Summarise(m);
    EXPECT_EQ(s.all.notes, 6);
    EXPECT_EQ(s.all.strokes, 6);
    EXPECT_EQ(s.all.hits, 4);
    EXPECT_EQ(s.all.missed, 1);
    EXPECT_EQ(s.all.wrongBell, 1);
    EXPECT_EQ(s.all.extra, 1);
    EXPECT_DOUBLE_EQ(s.all.meanError, 7.5);
    EXPECT_NEAR(s.all.spread, 17.078251, 1e-5);  // errors 10, 0, -10, 30
    EXPECT_DOUBLE_EQ(s.all.withinOnTime, 0.75);
    const StrokeSummary& great = s.groups[2];
    EXPECT_EQ(great.notes, 4);
    EXPECT_EQ(great.hits, 3);
    EXPECT_EQ(great.strokes, 4);
    EXPECT_NEAR(great.meanError, 10.0, 1e-9);
    EXPECT_NEAR(great.spread, 20.0, 1e-9);
    EXPECT_EQ(s.groups[1].notes, 2);
    EXPECT_EQ(s.groups[1].missed, 1);
    EXPECT_EQ(s.groups[0].extra, 1);
    EXPECT_EQ(s.bells[0].strokes, 3);
    EXPECT_EQ(s.bells[1].wrongBell, 1);
    EXPECT_DOUBLE_EQ(s.bells[0].meanError, 20.0);
}

TEST(PracticeStatsTest, SpreadOfFewValues) {
    double mean = 1;
    double spread = 1;
    MeanAndSpread({}, mean, spread);
    EXPECT_EQ(mean, 0.0);
    MeanAndSpread({-12.5}, mean, spread);
    EXPECT_EQ(mean, -12.5);
    EXPECT_EQ(spread, 0.0);
    // A large common offset keeps its precision.
    MeanAndSpread({1e9 + 1, 1e9 + 3}, mean, spread);
    EXPECT_NEAR(spread, std::sqrt(2.0), 1e-6);
}

}  // namespace
}  // namespace orvane
