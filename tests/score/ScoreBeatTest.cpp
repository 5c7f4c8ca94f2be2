#include "ScoreTestUtil.h"
#include "score/core/ScoreLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using ::testing::ElementsAreArray;

namespace {

// One beat on the 418 x 73 small staff with four bells. Slot j, when occupied, holds s4, s3,
// s4, s2 (y = 58, 44, 58, 29); stems attach at x = 9, 15, 21, 27; the beat starts at R = 8;
// Rise 26, Gap 4, flag step 6; rest spans run from L - 20 to L - 6.
ScorePrimitives Beat(const char* pattern) {
    static const char* const kMarks[4] = {"s4", "s3", "s4", "s2"};
    QStringList steps;
    int notes = 0;
    for (int j = 0; j < 4; ++j) {
        steps.append(pattern[j] == '1' ? kMarks[j] : "");
        notes += pattern[j] == '1';
    }
    const ScorePrimitives page = ScoreLayout({0, 4, 418, 73, false, kBackground}).Page(steps, 0);
    // The heads come first, then what the completed beat adds.
    EXPECT_EQ(Heads(page.mid(0, notes)).size(), notes) << pattern;
    return page.mid(notes);
}

// Flags of `w` on a slot at x with top t (flag step 6).
ScorePrimitives SingleFlag(int x, int t, int w) {
    return {Line(x, t, x + w, t + 6, 2), Line(x + w, t + 6, x + w, t + 12)};
}
ScorePrimitives DoubleFlag(int x, int t, int w) {
    ScorePrimitives f = SingleFlag(x, t, w);
    f << Line(x, t + 6, x + w, t + 12, 2) << Line(x + w, t + 12, x + w, t + 18);
    return f;
}
ScorePrimitives EighthRest(int x1, int x2, int y1, int y2) {
    return {Line(x1, y2, x2, y1), Blob(x1, y1, x1 + 4, y1 + 4), Line(x1 + 2, y1 + 4, x2, y1)};
}
ScorePrimitives SixteenthRest(int x1, int x2, int y1, int y2, int back) {
    ScorePrimitives r = EighthRest(x1, x2, y1, y2);
    r << Blob(x1, y1 + 4, x1 + 4, y1 + 8) << Line(x1 + 4, y1 + 8, x2 - back, y1 + 4);
    return r;
}
// The sixteenth rest of patterns that begin on slot 1 (D = 7, L = 44): x1 = 5, w = 6.
ScorePrimitives LeadingSixteenthRest() {
    return SixteenthRest(5, 11, 24, 38, 2);
}

}  // namespace

TEST(ScoreBeat, EmptyBeatDrawsNothing) {
    EXPECT_TRUE(Beat("0000").isEmpty());
}

TEST(ScoreBeat, QuarterNote) {
    EXPECT_THAT(Beat("1000"), ElementsAreArray({Line(9, 58, 9, 32)}));
}

TEST(ScoreBeat, BeamedPatternsStartingOnTheBeat) {
    EXPECT_THAT(Beat("1010"), ElementsAreArray({Line(9, 58, 9, 32), Line(21, 58, 21, 32),
                                                Line(9, 32, 21, 32, 2)}));
    EXPECT_THAT(Beat("1111"),
                ElementsAreArray({Line(9, 58, 9, 3), Line(15, 44, 15, 3), Line(21, 58, 21, 3),
                                  Line(27, 29, 27, 3), Line(9, 3, 27, 3, 2), Line(9, 7, 27, 7)}));
    EXPECT_THAT(Beat("1110"),
                ElementsAreArray({Line(9, 58, 9, 18), Line(15, 44, 15, 18), Line(21, 58, 21, 18),
                                  Line(9, 18, 21, 18, 2), Line(9, 22, 15, 22)}));
    EXPECT_THAT(Beat("1011"),
                ElementsAreArray({Line(9, 58, 9, 3), Line(21, 58, 21, 3), Line(27, 29, 27, 3),
                                  Line(9, 3, 27, 3, 2), Line(21, 7, 27, 7)}));
    // Stubs of c = round(6 / 2) = 3.
    EXPECT_THAT(Beat("1101"),
                ElementsAreArray({Line(9, 58, 9, 3), Line(15, 44, 15, 3), Line(27, 29, 27, 3),
                                  Line(9, 3, 27, 3, 2), Line(9, 7, 12, 7), Line(24, 7, 27, 7)}));
}

TEST(ScoreBeat, DottedPatterns) {
    // g = round(18 / 4) = round(4.5) = 4; the dot is centred at (13, 58).
    EXPECT_THAT(Beat("1001"),
                ElementsAreArray({Line(9, 58, 9, 3), Line(27, 29, 27, 3), Line(9, 3, 27, 3, 2),
                                  Line(23, 7, 27, 7), Blob(11, 56, 15, 60)}));
    // g = 3; the dot is centred at (18, 44).
    EXPECT_THAT(Beat("1100"),
                ElementsAreArray({Line(9, 58, 9, 18), Line(15, 44, 15, 18), Line(9, 18, 15, 18, 2),
                                  Line(9, 22, 12, 22), Blob(16, 42, 20, 46)}));
}

TEST(ScoreBeat, PatternsStartingOnTheSecondSlot) {
    // D = 15 - 8 = 7: flags w = round(3.5) = 4.
    ScorePrimitives p0100{Line(15, 44, 15, 18)};
    p0100 << DoubleFlag(15, 18, 4) << EighthRest(21, 27, 24, 38) << LeadingSixteenthRest();
    EXPECT_THAT(Beat("0100"), ElementsAreArray(p0100));

    ScorePrimitives p0110{Line(15, 44, 15, 18), Line(21, 58, 21, 32)};
    p0110 << DoubleFlag(15, 18, 4) << SingleFlag(21, 32, 4) << LeadingSixteenthRest();
    EXPECT_THAT(Beat("0110"), ElementsAreArray(p0110));

    ScorePrimitives p0111{Line(15, 44, 15, 3), Line(21, 58, 21, 3), Line(27, 29, 27, 3),
                          Line(15, 3, 27, 3, 2), Line(15, 7, 27, 7)};
    p0111 << LeadingSixteenthRest();
    EXPECT_THAT(Beat("0111"), ElementsAreArray(p0111));

    ScorePrimitives p0101{Line(15, 44, 15, 18), Line(27, 29, 27, 3)};
    p0101 << SingleFlag(15, 18, 4) << DoubleFlag(27, 3, 4) << LeadingSixteenthRest();
    EXPECT_THAT(Beat("0101"), ElementsAreArray(p0101));
}

TEST(ScoreBeat, PatternsStartingLater) {
    // D = 13: flag w = 3; eighth rest x1 = 8 + 3, w = round(5.42) = 5; span 38 to 52.
    ScorePrimitives p0010{Line(21, 58, 21, 32)};
    p0010 << SingleFlag(21, 32, 3) << EighthRest(11, 16, 38, 52);
    EXPECT_THAT(Beat("0010"), ElementsAreArray(p0010));

    ScorePrimitives p0011{Line(21, 58, 21, 3), Line(27, 29, 27, 3), Line(21, 3, 27, 3, 2),
                          Line(21, 7, 27, 7)};
    p0011 << EighthRest(11, 16, 38, 52);
    EXPECT_THAT(Beat("0011"), ElementsAreArray(p0011));

    // D = 19: flag w = 3; eighth rest at 12, sixteenth rest at 8 + 16 - 4 = 20, both w = 5;
    // span from L = 29: 9 to 23; the last stroke ends round(20 / 14) = 1 left of x2.
    ScorePrimitives p0001{Line(27, 29, 27, 3)};
    p0001 << DoubleFlag(27, 3, 3) << EighthRest(12, 17, 9, 23) << SixteenthRest(20, 25, 9, 23, 1);
    EXPECT_THAT(Beat("0001"), ElementsAreArray(p0001));
}
