#include "practice/core/ExpectedNotes.h"
#include "practice/core/PracticeMarks.h"
#include "score/core/ScorePainter.h"

#include <QSet>
#include <gtest/gtest.h>

namespace orvane {
namespace {

constexpr int kRate = 1000;

BellSet GreatPair() {
    BellSet set;
    set.inSet[0] = set.inSet[1] = true;
    set.group[0] = set.group[1] = kGreatGroup;
    return set;
}

// The great-bell staff of a page rendered with the marks of a pass over it.
struct Rendered {
    ScoreLayout layout{ScoreStaff{2, 2, 960, 180, false, QColor(240, 240, 240)}};
    QImage image;
};

Rendered Render(const QStringList& steps, const StrokeMatcher& matcher) {
    Rendered r;
    ScorePrimitives all = r.layout.Draw(steps, 0);
    all += PracticeMarks::Page(r.layout, matcher, 0, RankOfBells(GreatPair()));
    r.image = ScorePainter::Render(960, 180, all);
    return r;
}

TEST(PracticeMarksTest, EachClassHasItsOwnColourAndShapeOnTheRenderedPage) {
    const QStringList steps{"b1", "#", "b1", "#", "b1", "#", "b2", "#", "b1", "#", "#", "#"};
    const BellSet bells = GreatPair();
    StrokeMatcher m(ExpectedNotes(steps, {false, false, true}, bells), GroupOfBells(bells), int(steps.size()), kRate);
    m.StepSounded(0, 1000, 200);
    m.AddStroke(0, 1005);   // step 0: on time
    m.AddStroke(0, 1430);   // step 2: a little off, behind
    m.AddStroke(0, 1730);   // step 4: off, ahead
    m.AddStroke(0, 2210);   // step 6 (b2): wrong bell
    m.AddStroke(1, 2050);   // step 5.25: an extra stroke of b2 before its note's window
    m.Finish(3000);         // step 8: missed
    const Rendered r = Render(steps, m);
    const ScoreLayout& l = r.layout;
    auto at = [&](int x, int y) { return QColor(r.image.pixel(x, y)); };
    const int y1 = l.NoteY(1);
    const int y2 = l.NoteY(2);
    // Rings: left and right of the head; a cross through the middle; a square's corners.
    EXPECT_EQ(at(l.NoteX(0) + 6, y1), PracticeMarks::ColorOf(NoteResult::OnTime));
    EXPECT_EQ(at(l.NoteX(2) - 6, y1), PracticeMarks::ColorOf(NoteResult::SlightlyOff));
    EXPECT_EQ(at(l.NoteX(2) + 10, y1 + 3), PracticeMarks::ColorOf(NoteResult::SlightlyOff));  // bar: behind
    EXPECT_NE(at(l.NoteX(2) - 10, y1 + 3), PracticeMarks::ColorOf(NoteResult::SlightlyOff));
    EXPECT_EQ(at(l.NoteX(4) - 10, y1 + 3), PracticeMarks::ColorOf(NoteResult::Off));  // bars: ahead
    EXPECT_EQ(at(l.NoteX(4) - 14, y1 + 3), PracticeMarks::ColorOf(NoteResult::Off));
    EXPECT_EQ(at(l.NoteX(6) + 5, y2 + 5), PracticeMarks::ColorOf(NoteResult::WrongBell));
    EXPECT_EQ(at(l.NoteX(8) + 6, y1 + 6), PracticeMarks::ColorOf(NoteResult::Missed));
    EXPECT_NE(at(l.NoteX(0) + 6, y1 + 6), PracticeMarks::ColorOf(NoteResult::OnTime));  // a ring has no corner
    const int extraX = l.NoteX(5) + (l.NoteX(6) - l.NoteX(5)) / 4;
    EXPECT_EQ(at(extraX, y2), PracticeMarks::ExtraColor());
    // Six distinct colours, none of them the music's.
    QSet<QRgb> colours{PracticeMarks::ExtraColor().rgb(), ScoreLayout::kMusicColor.rgb()};
    for (NoteResult c : {NoteResult::OnTime, NoteResult::SlightlyOff, NoteResult::Off, NoteResult::WrongBell,
                         NoteResult::Missed}) {
        colours.insert(PracticeMarks::ColorOf(c).rgb());
    }
    EXPECT_EQ(colours.size(), 7);
}

TEST(PracticeMarksTest, UndecidedNotesAndOtherPagesStayUnmarked) {
    QStringList steps(80, QStringLiteral("#"));
    steps[1] = QStringLiteral("b1");
    steps[70] = QStringLiteral("b1");
    const BellSet bells = GreatPair();
    StrokeMatcher m(ExpectedNotes(steps, {false, false, true}, bells), GroupOfBells(bells), int(steps.size()), kRate);
    m.StepSounded(0, 1000, 200);
    m.AddStroke(0, 1200);
    m.Advance(1250);  // step 1 still open
    Rendered r = Render(steps, m);
    const QImage plain = ScorePainter::Render(960, 180, r.layout.Draw(steps, 0));
    EXPECT_EQ(r.image, plain);
    m.Advance(1400);
    EXPECT_EQ(PracticeMarks::Page(r.layout, m, 0, RankOfBells(bells)).size(), 2);  // one ring
    EXPECT_TRUE(PracticeMarks::Page(r.layout, m, 1, RankOfBells(bells)).isEmpty());
}

}  // namespace
}  // namespace orvane
