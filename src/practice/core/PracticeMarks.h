#pragma once

#include "practice/core/StrokeMatcher.h"
#include "score/core/ScoreLayout.h"

#include <QColor>
#include <QList>

namespace orvane {

// The marks that show, on a staff of the score view, how the learner rang each expected note of
// the page that has been decided, and where extra strokes fell. Every class differs in shape as
// well as in colour (the colours are of a palette that stays distinct for colour-blind eyes):
// - on time: a ring round the note head;
// - a little off: the ring with one bar on the side of the error (left: ahead, right: behind);
// - off: the ring with two bars on the side of the error;
// - wrong bell: a cross over the head;
// - missed: a square round the head;
// - an extra stroke: a small filled diamond at its time on its bell's line, on the staff of its
//   bell's group.
// Pure computation; draw the result with ScorePainter over the staff.
class PracticeMarks {
  public:
    // The colour of a class (Pending and Unreached: invalid), and of an extra stroke.
    static QColor ColorOf(NoteResult result);
    static QColor ExtraColor();

    // The primitives of one mark centred on a note head at `centre`; `errorMs` gives the side of
    // the bars of the "off" classes.
    static ScorePrimitives Mark(NoteResult result, QPoint centre, double errorMs);
    // The mark of an extra stroke centred at `centre`.
    static ScorePrimitives ExtraMark(QPoint centre);

    // The marks of the page `page` (0-based) of the staff drawn by `layout`: decided notes of
    // the staff's group, and extra (or wrong-bell but unattributed) strokes of any bell, placed
    // by time between the step columns. rankOfBell: the rank of each catalogue row in its group
    // (0 when not in the set).
    static ScorePrimitives Page(const ScoreLayout& layout, const StrokeMatcher& matcher, int page,
                                const std::array<int, BellSet::kBellCount>& rankOfBell);
};

// The rank of each catalogue bell within its group, counted as FindGroupBell counts them.
std::array<int, BellSet::kBellCount> RankOfBells(const BellSet& bellSet);

}  // namespace orvane
