#include "ScoreTestUtil.h"
#include "score/core/ScoreLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QSize>

using namespace orvane;
using namespace orvane::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

ScoreLayout Small(int bells = 4, int w = 418, int h = 73, bool simplified = false) {
    return ScoreLayout({0, bells, w, h, simplified, kBackground});
}

ScorePrimitive GridLine(int x1, int y1, int x2, int y2) {
    return ScorePrimitive::MakeLine({x1, y1}, {x2, y2}, 1, QColor(0, 0, 0));
}

}  // namespace

TEST(ScoreLayout, SmallStaffOf418By73Measures) {
    ScoreLayout layout = Small();
    const ScoreGeometry& g = layout.Geometry();
    EXPECT_DOUBLE_EQ(g.colw, 6.53125);
    EXPECT_DOUBLE_EQ(g.rowh, 14.6);
    EXPECT_EQ(g.stemBase, 13);
    EXPECT_EQ(g.rise, 26);
    EXPECT_EQ(g.gap, 4);
    EXPECT_EQ(g.flagStep, 6);  // 6.5 rounds to the even 6

    QStringList steps = Silent(16);
    for (int c : {0, 1, 8, 15}) {
        steps[c] = "s1";
    }
    EXPECT_THAT(Heads(layout.Page(steps, 0)),
                ElementsAre(Head(7, 15), Head(13, 15), Head(56, 15), Head(97, 15)));
}

TEST(ScoreLayout, GridHasBarLinesAndStaffLines) {
    // 104.5 and 313.5 round to the even neighbour.
    EXPECT_THAT(
        Small().Grid(),
        ElementsAre(ScorePrimitive::MakeFill({0, 0}, {418, 73}, kBackground), GridLine(0, 0, 0, 73),
                    GridLine(104, 0, 104, 73), GridLine(209, 0, 209, 73), GridLine(314, 0, 314, 73),
                    GridLine(418, 0, 418, 73), GridLine(417, 0, 417, 73), GridLine(0, 0, 418, 0),
                    GridLine(0, 15, 418, 15), GridLine(0, 29, 418, 29), GridLine(0, 44, 418, 44),
                    GridLine(0, 58, 418, 58), GridLine(0, 72, 418, 72)));
}

TEST(ScoreLayout, SimplifiedGridDrawsOneLinePerBellAndNoBottomLine) {
    const ScorePrimitives grid = Small(3, 418, 73, true).Grid();
    const ScorePrimitives horizontal = Select(grid, [](const ScorePrimitive& p) {
        return p.kind == ScorePrimitive::Kind::Line && p.p1.y() == p.p2.y();
    });
    EXPECT_THAT(horizontal, ElementsAre(GridLine(0, 29, 418, 29), GridLine(0, 44, 418, 44),
                                        GridLine(0, 58, 418, 58)));
    // More bells than rows: every line, still without the closing line.
    EXPECT_EQ(Select(ScoreLayout({1, 12, 640, 220, true, kBackground}).Grid(),
                     [](const ScorePrimitive& p) { return p.p1.y() == p.p2.y(); })
                  .size(),
              11);
}

TEST(ScoreLayout, PageWithoutStepsShowsOnlyTheGrid) {
    ScoreLayout layout = Small();
    EXPECT_EQ(layout.Draw({}, 0), layout.Grid());
    QStringList steps = Silent(64);
    steps[3] = "s1";
    EXPECT_THAT(layout.Page(steps, 1), IsEmpty());
    EXPECT_THAT(layout.Page(steps, -1), IsEmpty());
}

TEST(ScoreLayout, SilentBarShowsOneWholeRestButNotPastTheEnd) {
    ScoreLayout layout = Small();
    QStringList steps = Silent(32);
    steps[16] = "s1";
    const ScorePrimitives page = layout.Page(steps, 0);
    const ScorePrimitives bar1 =
        Select(page, [](const ScorePrimitive& p) { return p.p1.x() < 104; });
    EXPECT_THAT(bar1, ElementsAre(ScorePrimitive::MakeRect({47, 15}, {59, 19}, kMaroon, kMaroon)));

    // The last bar has four silent steps: no rest of any size there.
    QStringList shortSteps = Silent(20);
    shortSteps[0] = "s1";
    const ScorePrimitives shortPage = layout.Page(shortSteps, 0);
    EXPECT_THAT(Select(shortPage, [](const ScorePrimitive& p) { return p.p1.x() >= 104; }),
                IsEmpty());
    EXPECT_EQ(Rects(shortPage).size(), 1);  // the half rest of bar 1
}

TEST(ScoreLayout, LoneSmallNoteGetsStemQuarterRestAndHalfRest) {
    QStringList steps = Silent(16);
    steps[0] = "s1";
    const ScorePrimitives page = Small().Page(steps, 0);
    EXPECT_THAT(Heads(page), ElementsAre(Head(7, 15)));
    // Quarter rest of beat 2 at (41, 44), k = round(6.5) = 6.
    EXPECT_THAT(MusicLines(page),
                ElementsAre(Line(9, 15, 9, -11), Line(41, 44, 37, 38), Line(37, 38, 41, 38, 2),
                            Line(41, 38, 37, 32), Line(37, 32, 41, 26, 2), Line(41, 26, 37, 20)));
    EXPECT_THAT(Rects(page),
                ElementsAre(ScorePrimitive::MakeRect({69, 26}, {81, 29}, kMaroon, kMaroon)));
}

TEST(ScoreLayout, GreatWholeNoteAndMediumHalfNote) {
    QStringList great = Silent(16);
    great[0] = "b1";
    const ScorePrimitives whole = ScoreLayout({2, 3, 640, 220, false, kBackground}).Page(great, 0);
    // rowh 27.5: b1 sits on row 7, at 192.5, which rounds to 192.
    EXPECT_THAT(whole, ElementsAre(Head(9, 192, true)));

    QStringList middle = Silent(16);
    middle[0] = "m1";
    const ScorePrimitives half = ScoreLayout({1, 5, 640, 220, false, kBackground}).Page(middle, 0);
    // rowh 20, S 18, Rise round(66.6) = 67; m1 of five is on row 6.
    EXPECT_THAT(half,
                ElementsAre(Head(9, 120, true), Line(11, 120, 11, 53),
                            ScorePrimitive::MakeRect({109, 157}, {121, 160}, kMaroon, kMaroon)));
}

TEST(ScoreLayout, BarAfterAWholeNoteShowsItsOwnRests) {
    // Bar 2 begins silently; its first half gets a half rest, b2 on step 9 is a half note.
    QStringList steps = Silent(32);
    steps[0] = "b1";
    steps[24] = "b2";
    ScoreLayout layout({2, 3, 640, 220, false, kBackground});
    const ScorePrimitives page = layout.Page(steps, 0);
    EXPECT_THAT(Rects(page),
                ElementsAre(ScorePrimitive::MakeRect({193, 135}, {205, 138}, kMaroon, kMaroon)));
    EXPECT_THAT(Heads(page), ElementsAre(Head(9, 192, true), Head(245, 165, true)));
}

TEST(ScoreLayout, ScoreOf130StepsEndsWithABeatWithoutStems) {
    EXPECT_EQ(ScoreLayout::PageCount(130), 3);
    EXPECT_EQ(ScoreLayout::PageCount(128), 2);
    EXPECT_EQ(ScoreLayout::PageCount(0), 1);
    QStringList steps = Silent(130);
    steps[128] = "s1";
    steps[129] = "s2";
    EXPECT_THAT(Small().Page(steps, 2), ElementsAre(Head(7, 15), Head(13, 29)));
}

TEST(ScoreLayout, NotesOfOneStepShareOneStem) {
    QStringList steps = Silent(16);
    steps[0] = "s3,s1";
    const ScorePrimitives page = Small().Page(steps, 0);
    EXPECT_THAT(Heads(page), ElementsAre(Head(7, 44), Head(7, 15)));
    EXPECT_THAT(Select(MusicLines(page), [](const ScorePrimitive& p) { return p.p1.x() == 9; }),
                ElementsAre(Line(9, 44, 9, -11)));

    // More than eight marks: all drawn, all counted.
    steps[0] = "s2,s2,s2,s2,s2,s2,s2,s2,s2,s4,s1";
    const ScorePrimitives crowded = Small().Page(steps, 0);
    EXPECT_EQ(Heads(crowded).size(), 11);
    EXPECT_THAT(Select(MusicLines(crowded), [](const ScorePrimitive& p) { return p.p1.x() == 9; }),
                ElementsAre(Line(9, 58, 9, -11)));
}

TEST(ScoreLayout, MalformedMarksAreNotDrawnButStillSound) {
    QStringList steps = Silent(16);
    steps[0] = "s12,sx,s,,#,s2";
    EXPECT_THAT(Heads(Small().Page(steps, 0)), ElementsAre(Head(7, 29)));

    // A step holding only "s12" sounds: no whole rest, no quarter rest in beat 1.
    steps[0] = "s12";
    const ScorePrimitives page = Small().Page(steps, 0);
    EXPECT_THAT(Heads(page), IsEmpty());
    EXPECT_THAT(Rects(page),
                ElementsAre(ScorePrimitive::MakeRect({69, 26}, {81, 29}, kMaroon, kMaroon)));
    EXPECT_EQ(MusicLines(page).size(), 5);  // the quarter rest of beat 2
}

TEST(ScoreLayout, NotesOnAndAboveTheTopEdgeKeepTheirStems) {
    // Six small bells on a staff with room for four: s2 lies on the top edge, s1 above it.
    QStringList steps = Silent(16);
    steps[0] = "s1";
    steps[4] = "s2";
    const ScorePrimitives page = Small(6).Page(steps, 0);
    EXPECT_THAT(Heads(page), ElementsAre(Head(7, -15), Head(31, 0)));
    EXPECT_THAT(
        Select(MusicLines(page), [](const ScorePrimitive& p) { return p.p1.x() == p.p2.x(); }),
        ElementsAre(Line(9, -15, 9, -41), Line(33, 0, 33, -26)));
}

TEST(ScoreLayout, DegenerateSizesDrawWithoutFault) {
    QStringList steps = Silent(64);
    for (int i = 0; i < 64; i += 3) {
        steps[i] = "s1,s2";
    }
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(64, 2)}) {
        ScoreLayout layout({0, 2, size.width(), size.height(), false, kBackground});
        const ScorePrimitives page = layout.Page(steps, 0);
        EXPECT_EQ(Heads(page).size(), 44);
    }
}
