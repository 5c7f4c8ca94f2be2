#include "practice/core/PracticeMarks.h"

#include "chime/core/ChimeScore.h"

#include <cmath>

namespace orvane {

namespace {

constexpr int kRing = 6;  // half the size of a ring or square, pixels

void Ring(ScorePrimitives& out, QPoint c, const QColor& color) {
    // Two concentric outlines: a 2-pixel ring that a 1-pixel pen draws.
    const QColor none(Qt::transparent);
    out.append(ScorePrimitive::MakeEllipse({c.x() - kRing, c.y() - kRing}, {c.x() + kRing, c.y() + kRing}, color, none));
    out.append(ScorePrimitive::MakeEllipse({c.x() - kRing - 1, c.y() - kRing - 1},
                                           {c.x() + kRing + 1, c.y() + kRing + 1}, color, none));
}

void Bars(ScorePrimitives& out, QPoint c, const QColor& color, double errorMs, int count) {
    const int side = errorMs < 0 ? -1 : 1;
    for (int i = 0; i < count; ++i) {
        const int x = c.x() + side * (kRing + 4 + 4 * i);
        out.append(ScorePrimitive::MakeLine({x, c.y() - kRing}, {x, c.y() + kRing}, 2, color));
    }
}

}  // namespace

QColor PracticeMarks::ColorOf(NoteResult result) {
    switch (result) {
        case NoteResult::OnTime:
            return QColor(0, 158, 115);  // bluish green
        case NoteResult::SlightlyOff:
            return QColor(230, 159, 0);  // orange
        case NoteResult::Off:
            return QColor(213, 94, 0);  // vermillion
        case NoteResult::WrongBell:
            return QColor(204, 121, 167);  // reddish purple
        case NoteResult::Missed:
            return QColor(0, 114, 178);  // blue
        default:
            return {};
    }
}

QColor PracticeMarks::ExtraColor() {
    return QColor(86, 180, 233);  // sky blue
}

ScorePrimitives PracticeMarks::Mark(NoteResult result, QPoint c, double errorMs) {
    ScorePrimitives out;
    const QColor color = ColorOf(result);
    switch (result) {
        case NoteResult::OnTime:
            Ring(out, c, color);
            break;
        case NoteResult::SlightlyOff:
            Ring(out, c, color);
            Bars(out, c, color, errorMs, 1);
            break;
        case NoteResult::Off:
            Ring(out, c, color);
            Bars(out, c, color, errorMs, 2);
            break;
        case NoteResult::WrongBell:
            out.append(ScorePrimitive::MakeLine({c.x() - kRing, c.y() - kRing}, {c.x() + kRing, c.y() + kRing}, 2, color));
            out.append(ScorePrimitive::MakeLine({c.x() - kRing, c.y() + kRing}, {c.x() + kRing, c.y() - kRing}, 2, color));
            break;
        case NoteResult::Missed:
            out.append(ScorePrimitive::MakeRect({c.x() - kRing, c.y() - kRing}, {c.x() + kRing, c.y() + kRing}, color,
                                                QColor(Qt::transparent)));
            out.append(ScorePrimitive::MakeRect({c.x() - kRing - 1, c.y() - kRing - 1},
                                                {c.x() + kRing + 1, c.y() + kRing + 1}, color, QColor(Qt::transparent)));
            break;
        default:
            break;
    }
    return out;
}

ScorePrimitives PracticeMarks::ExtraMark(QPoint c) {
    ScorePrimitives out;
    const QColor color = ExtraColor();
    for (int dy = -3; dy <= 3; ++dy) {
        const int w = 3 - std::abs(dy);
        out.append(ScorePrimitive::MakeLine({c.x() - w, c.y() + dy}, {c.x() + w, c.y() + dy}, 1, color));
    }
    return out;
}

ScorePrimitives PracticeMarks::Page(const ScoreLayout& layout, const StrokeMatcher& matcher, int page,
                                    const std::array<int, BellSet::kBellCount>& rankOfBell) {
    ScorePrimitives out;
    if (page < 0) {
        return out;
    }
    const int group = layout.Staff().group;
    const int first = page * ScoreLayout::kStepsPerPage;
    const int last = first + ScoreLayout::kStepsPerPage;  // exclusive
    const auto& notes = matcher.Notes();
    const auto& outcomes = matcher.NoteOutcomes();
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const ExpectedNote& note = notes[i];
        if (note.group != group || note.step < first || note.step >= last) {
            continue;
        }
        const QPoint centre(layout.NoteX(note.step - first), layout.NoteY(note.rank));
        out.append(Mark(outcomes[i].result, centre, matcher.Milliseconds(outcomes[i].errorFrames)));
    }
    const auto& groupOfBell = matcher.GroupOfBell();
    for (const StrokeOutcome& stroke : matcher.Strokes()) {
        const bool shown = stroke.result == StrokeResult::Extra ||
                           (stroke.result == StrokeResult::WrongBell && stroke.note < 0);
        const int strokeGroup = groupOfBell[std::size_t(stroke.bell)];
        if (!shown || strokeGroup != group || stroke.frame < matcher.StepFrame(first) - matcher.HalfWindow(first) ||
            stroke.frame >= matcher.StepFrame(last)) {
            continue;
        }
        // The stroke's time as a fractional step, from the two nearest step frames.
        int step = std::max(0, first);
        while (step + 1 < last && matcher.StepFrame(step + 1) <= stroke.frame) {
            ++step;
        }
        const std::int64_t t0 = matcher.StepFrame(step);
        const std::int64_t t1 = matcher.StepFrame(step + 1);
        double fraction = t1 > t0 ? double(stroke.frame - t0) / double(t1 - t0) : 0.0;
        if (stroke.frame < t0 && step == first) {
            continue;  // before this page
        }
        if (step == last - 1 && fraction >= 1.0) {
            continue;  // after this page
        }
        fraction = std::clamp(fraction, 0.0, 1.0);
        const int x0 = layout.NoteX(step - first);
        const int x1 = step + 1 - first < ScoreLayout::kStepsPerPage ? layout.NoteX(step + 1 - first)
                                                                     : x0 + int(layout.Geometry().colw);
        const int x = int(std::lround(x0 + fraction * (x1 - x0)));
        const int rank = rankOfBell[std::size_t(stroke.bell)];
        const int y = rank > 0 ? layout.NoteY(rank) : layout.Staff().height - 5;
        out.append(ExtraMark({x, y}));
    }
    return out;
}

std::array<int, BellSet::kBellCount> RankOfBells(const BellSet& bellSet) {
    std::array<int, BellSet::kBellCount> ranks{};
    for (int code = kSmallGroup; code <= kGreatGroup; ++code) {
        const int count = bellSet.GroupCount(code);
        for (int rank = 1; rank <= count; ++rank) {
            const int row = FindGroupBell(GroupLetter(code), rank, bellSet);
            ranks[std::size_t(row)] = rank;
        }
    }
    return ranks;
}

}  // namespace orvane
