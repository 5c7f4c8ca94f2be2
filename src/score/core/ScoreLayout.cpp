#include "score/core/ScoreLayout.h"

#include "app/core/Rounding.h"

#include <QStringView>
#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr int kSmall = 0;
constexpr int kGreat = 2;

// Halves go to the even neighbour (default rounding mode).

// Pull of a note towards the middle of its bar, for position s (1 to 16) in the bar.
double PullToMiddle(int s) {
    return s <= 8 ? 0.6 * (8 - s) : 0.6 * (9 - s);
}

}  // namespace

const QColor ScoreLayout::kMusicColor = QColor(128, 0, 0);
const QColor ScoreLayout::kGridColor = QColor(0, 0, 0);

ScoreGeometry ScoreGeometry::Of(int group, int width, int height) {
    static constexpr int kRows[3] = {5, 11, 8};
    static constexpr double kStemFactor[3] = {1.0, 1.85, 1.45};
    const int g = std::clamp(group, 0, 2);
    ScoreGeometry geo;
    geo.rows = kRows[g];
    geo.stemFactor = kStemFactor[g];
    geo.colw = width / 64.0;
    geo.rowh = static_cast<double>(height) / geo.rows;
    geo.stemBase = Round(geo.rowh - geo.rowh / 10);
    const double s = geo.stemBase;
    const double f = geo.stemFactor;
    geo.rise = Round(2 * s * f);
    geo.gap = Round(f * (s / 3));
    geo.flagStep = Round(f * (s / 2));
    return geo;
}

int ScoreGeometry::RestTop(int lowest) const {
    return lowest - Round(stemFactor * (stemBase * 1.5));
}

int ScoreGeometry::RestBottom(int lowest) const {
    return lowest - Round(stemFactor * (stemBase * 0.5));
}

ScoreLayout::ScoreLayout(const ScoreStaff& staff)
    : staff_(staff), geo_(ScoreGeometry::Of(staff.group, staff.width, staff.height)) {
    staff_.group = std::clamp(staff_.group, 0, 2);
}

int ScoreLayout::PageCount(qsizetype stepCount) {
    if (stepCount <= 0) {
        return 1;
    }
    return static_cast<int>((stepCount + kStepsPerPage - 1) / kStepsPerPage);
}

int ScoreLayout::NoteX(int column) const {
    const double x = geo_.colw / 2 + column * geo_.colw;
    return Round(x + PullToMiddle(column % kStepsPerBar + 1));
}

int ScoreLayout::NoteY(int rank) const {
    const int n = staff_.bellCount;
    int row = 0;
    switch (staff_.group) {
        case kSmall:
            row = rank + 4 - n;
            break;
        case kGreat:
            row = 8 - rank;
            break;
        default:
            row = rank + 10 - n;
            break;
    }
    return Round(row * geo_.rowh);
}

ScorePrimitives ScoreLayout::Grid() const {
    ScorePrimitives out;
    const int w = staff_.width;
    const int h = staff_.height;
    out.append(ScorePrimitive::MakeFill({0, 0}, {w, h}, staff_.background));
    for (int k = 0; k <= 4; ++k) {
        const int x = Round(k * w / 4.0);
        out.append(ScorePrimitive::MakeLine({x, 0}, {x, h}, 1, kGridColor));
    }
    out.append(ScorePrimitive::MakeLine({w - 1, 0}, {w - 1, h}, 1, kGridColor));
    // The line of row `rows` always lies at y = H, one pixel below the image, so it is left
    // out; the unsimplified grid closes the staff with a line at H - 1 instead.
    const int firstRow = staff_.simplified ? geo_.rows - staff_.bellCount : 0;
    for (int j = std::max(firstRow, 0); j < geo_.rows; ++j) {
        const int y = Round(j * geo_.rowh);
        out.append(ScorePrimitive::MakeLine({0, y}, {w, y}, 1, kGridColor));
    }
    if (!staff_.simplified) {
        out.append(ScorePrimitive::MakeLine({0, h - 1}, {w, h - 1}, 1, kGridColor));
    }
    return out;
}

ScorePrimitives ScoreLayout::Draw(const QStringList& steps, int page) {
    ScorePrimitives out = Grid();
    out.append(Page(steps, page));
    return out;
}

ScorePrimitives ScoreLayout::Page(const QStringList& steps, int page) {
    out_.clear();
    steps_ = &steps;
    ClearSlots();
    beat_ = 0;
    wholeNoteFlag_ = true;
    restAllowed_ = true;
    barEmpty_ = false;
    halfEmpty_ = false;
    if (page >= 0) {
        const qsizetype first = static_cast<qsizetype>(page) * kStepsPerPage;
        const qsizetype end = std::min<qsizetype>(first + kStepsPerPage, steps.size());
        for (qsizetype i = first; i < end; ++i) {
            DrawStep(i, static_cast<int>(i - first));
        }
    }
    // A beat left incomplete at the end of the list keeps its heads but gets no stems.
    steps_ = nullptr;
    ScorePrimitives result;
    result.swap(out_);
    return result;
}

void ScoreLayout::ClearSlots() {
    slots_.fill(Slot{});
}

bool ScoreLayout::SoundsAhead(qsizetype step, int count) const {
    const qsizetype end = std::min<qsizetype>(step + 1 + count, steps_->size());
    for (qsizetype i = step + 1; i < end; ++i) {
        if ((*steps_)[i].size() > 1) {
            return true;
        }
    }
    return false;
}

ScoreLayout::RunResult ScoreLayout::TestRun(qsizetype first, int count) const {
    RunResult r;
    r.complete = first + count <= steps_->size();
    r.empty = (*steps_)[first].size() <= 1 && !SoundsAhead(first, count - 1);
    return r;
}

void ScoreLayout::DrawStep(qsizetype step, int column) {
    const double x = geo_.colw / 2 + column * geo_.colw;
    const int s = column % kStepsPerBar + 1;
    const double xo = x + PullToMiddle(s);
    const double h = staff_.height;

    ++beat_;
    if (beat_ == 1) {
        beatStart_ = Round(xo) + 1;
        quarterAnchor_ = {Round(xo + 1.5 * geo_.colw), Round(h - 2 * geo_.rowh)};
    }

    const bool halfBarStart = s == 1 || s == 9;
    if (halfBarStart) {
        restAllowed_ = true;
    }
    if (s == 1) {
        // A whole note silences the smaller rests of its own bar only.
        wholeNoteFlag_ = true;
        wholeAnchor_ = {Round(xo + 7 * geo_.colw), Round(h - 4 * geo_.rowh)};
        const RunResult bar = TestRun(step, kStepsPerBar);
        barEmpty_ = bar.empty;
        if (bar.empty && bar.complete) {
            WholeRest(wholeAnchor_);
        }
        halfEmpty_ = false;
    }
    if (!barEmpty_ && halfBarStart) {
        halfAnchor_ = {Round(xo + 3 * geo_.colw), Round(h - 3 * geo_.rowh)};
        if (wholeNoteFlag_) {
            const RunResult half = TestRun(step, kStepsPerHalfBar);
            halfEmpty_ = half.empty;
            if (half.empty && half.complete) {
                HalfRest(halfAnchor_);
            }
        }
    }
    if (!barEmpty_ && !halfEmpty_ && beat_ == 1 && wholeNoteFlag_ && restAllowed_) {
        const RunResult quarter = TestRun(step, kStepsPerBeat);
        if (quarter.empty && quarter.complete) {
            QuarterRest(quarterAnchor_);
        }
    }

    // Note values depend on the time step alone, so they are decided once for all its marks.
    const bool whole = staff_.group == kGreat && s == 1 && !SoundsAhead(step, 15);
    const bool half = !whole && staff_.group != kSmall && halfBarStart && !SoundsAhead(step, 7);

    positions_.clear();
    positionUsed_.clear();
    Slot& slot = slots_[beat_ - 1];
    const QStringView line((*steps_)[step]);
    const int headX = Round(xo);
    qsizetype from = 0;
    int index = 0;
    while (from <= line.size() && !line.isEmpty()) {
        qsizetype comma = line.indexOf(u',', from);
        if (comma < 0) {
            comma = line.size();
        }
        const QStringView mark = line.mid(from, comma - from);
        from = comma + 1;
        const int markIndex = index++;
        if (mark.size() != 2 || mark[1] < u'0' || mark[1] > u'9') {
            continue;
        }
        const QPoint head(headX, NoteY(mark[1].unicode() - u'0'));
        if (whole) {
            wholeNoteFlag_ = false;
            restAllowed_ = false;
        } else if (half) {
            restAllowed_ = false;
        }
        Head(head, whole || half);
        if (whole) {
            continue;
        }
        slot.occupied = true;
        slot.attach = {head.x() + 2, head.y()};
        if (positions_.size() <= markIndex) {
            positions_.resize(markIndex + 1, 0);
            positionUsed_.resize(markIndex + 1, false);
        }
        positions_[markIndex] = head.y();
        positionUsed_[markIndex] = true;
    }

    slot.lowest = 0;
    slot.highest = 0;
    bool any = false;
    for (qsizetype k = 0; k < positions_.size(); ++k) {
        if (!positionUsed_[k]) {
            continue;
        }
        const int y = positions_[k];
        slot.lowest = any ? std::max(slot.lowest, y) : y;
        slot.highest = any ? std::min(slot.highest, y) : y;
        any = true;
    }

    if (beat_ == kStepsPerBeat) {
        DrawBeat();
        beat_ = 0;
        ClearSlots();
    }
}

// Patterns are named by the occupied slots, slot 0 first: 0b1000 is "1000" (slot 0 only).
void ScoreLayout::DrawBeat() {
    int pattern = 0;
    int firstSlot = -1;
    int highest = 0;
    for (int j = 0; j < kStepsPerBeat; ++j) {
        if (!slots_[j].occupied) {
            continue;
        }
        pattern |= 8 >> j;
        highest = firstSlot < 0 ? slots_[j].highest : std::min(highest, slots_[j].highest);
        if (firstSlot < 0) {
            firstSlot = j;
        }
    }
    if (pattern == 0) {
        return;
    }
    const auto x = [this](int j) { return slots_[j].attach.x(); };
    const auto ownTop = [this](int j) { return slots_[j].highest - geo_.rise; };
    const int t = highest - geo_.rise;  // common top of beamed patterns
    const double d = x(firstSlot) - beatStart_;
    const int lowest = slots_[firstSlot].lowest;
    const int y1 = geo_.RestTop(lowest);
    const int y2 = geo_.RestBottom(lowest);
    const int r = beatStart_;

    switch (pattern) {
        case 0b1000:
            Stem(0, ownTop(0));
            break;
        case 0b1010:
            Stem(0, t);
            Stem(2, t);
            Beam(0, 2, t);
            break;
        case 0b1111:
            for (int j = 0; j < 4; ++j) {
                Stem(j, t);
            }
            Beam(0, 3, t);
            SecondBeam(x(0), x(3), t);
            break;
        case 0b1110:
            Stem(0, t);
            Stem(1, t);
            Stem(2, t);
            Beam(0, 2, t);
            SecondBeam(x(0), x(1), t);
            break;
        case 0b1011:
            Stem(0, t);
            Stem(2, t);
            Stem(3, t);
            Beam(0, 3, t);
            SecondBeam(x(2), x(3), t);
            break;
        case 0b1101: {
            Stem(0, t);
            Stem(1, t);
            Stem(3, t);
            Beam(0, 3, t);
            const int c = Round((x(1) - x(0)) / 2.0);
            SecondBeam(x(0), x(0) + c, t);
            SecondBeam(x(3) - c, x(3), t);
            break;
        }
        case 0b1001: {
            Stem(0, t);
            Stem(3, t);
            Beam(0, 3, t);
            const int g = Round((x(3) - x(0)) / 4.0);
            SecondBeam(x(3) - g, x(3), t);
            Dot({x(0) + g, slots_[0].lowest});
            break;
        }
        case 0b1100: {
            Stem(0, t);
            Stem(1, t);
            Beam(0, 1, t);
            const int g = Round((x(1) - x(0)) / 2.0);
            SecondBeam(x(0), x(0) + g, t);
            Dot({x(1) + g, slots_[1].lowest});
            break;
        }
        case 0b0100:
            Stem(1, ownTop(1));
            Flag(1, Round(d / 2), true);
            EighthRest(x(1) + Round(d / 1.2), Round(d / 1.2), y1, y2);
            SixteenthRest(r - Round(d / 2.4), Round(d / 1.2), y1, y2);
            break;
        case 0b0110:
            Stem(1, ownTop(1));
            Stem(2, ownTop(2));
            Flag(1, Round(d / 2), true);
            Flag(2, Round(d / 2), false);
            SixteenthRest(r - Round(d / 2.4), Round(d / 1.2), y1, y2);
            break;
        case 0b0111:
            Stem(1, t);
            Stem(2, t);
            Stem(3, t);
            Beam(1, 3, t);
            SecondBeam(x(1), x(3), t);
            SixteenthRest(r - Round(d / 2.4), Round(d / 1.2), y1, y2);
            break;
        case 0b0010:
            Stem(2, ownTop(2));
            Flag(2, Round(d / 4), false);
            EighthRest(r + Round(d / 4.8), Round(d / 2.4), y1, y2);
            break;
        case 0b0011:
            Stem(2, t);
            Stem(3, t);
            Beam(2, 3, t);
            SecondBeam(x(2), x(3), t);
            EighthRest(r + Round(d / 4.8), Round(d / 2.4), y1, y2);
            break;
        case 0b0101:
            Stem(1, ownTop(1));
            Stem(3, ownTop(3));
            Flag(1, Round(d / 2), false);
            Flag(3, Round(d / 2), true);
            SixteenthRest(r - Round(d / 2.4), Round(d / 1.2), y1, y2);
            break;
        case 0b0001:
            Stem(3, ownTop(3));
            Flag(3, Round(d / 6), true);
            EighthRest(r + Round(d / 4.8), Round(d / 3.6), y1, y2);
            SixteenthRest(r + Round(d / 3 * 2.5) - Round(d / 4.8), Round(d / 3.6), y1, y2);
            break;
        default:
            break;
    }
}

void ScoreLayout::Head(QPoint c, bool hollow) {
    out_.append(ScorePrimitive::MakeEllipse({c.x() - 3, c.y() - 2}, {c.x() + 3, c.y() + 2},
                                            kMusicColor, hollow ? staff_.background : kMusicColor));
}

void ScoreLayout::Line(QPoint from, QPoint to, int width) {
    out_.append(ScorePrimitive::MakeLine(from, to, width, kMusicColor));
}

void ScoreLayout::WholeRest(QPoint a) {
    out_.append(ScorePrimitive::MakeRect({a.x() - 6, a.y()}, {a.x() + 6, a.y() + 4}, kMusicColor,
                                         kMusicColor));
}

void ScoreLayout::HalfRest(QPoint a) {
    out_.append(ScorePrimitive::MakeRect({a.x() - 6, a.y() - 3}, {a.x() + 6, a.y()}, kMusicColor,
                                         kMusicColor));
}

void ScoreLayout::QuarterRest(QPoint a) {
    const int k = Round(2 * geo_.stemBase * geo_.stemFactor / 4);
    const int x = a.x();
    const int y = a.y();
    const QPoint points[6] = {{x, y},         {x - 4, y - k},    {x, y - k}, {x - 4, y - 2 * k},
                              {x, y - 3 * k}, {x - 4, y - 4 * k}};
    static constexpr int kWidths[5] = {1, 2, 1, 2, 1};
    for (int i = 0; i < 5; ++i) {
        Line(points[i], points[i + 1], kWidths[i]);
    }
}

void ScoreLayout::EighthRest(int x1, int w, int y1, int y2) {
    const int x2 = x1 + w;
    Line({x1, y2}, {x2, y1}, 1);
    out_.append(ScorePrimitive::MakeEllipse({x1, y1}, {x1 + 4, y1 + 4}, kMusicColor, kMusicColor));
    Line({x1 + 2, y1 + 4}, {x2, y1}, 1);
}

void ScoreLayout::SixteenthRest(int x1, int w, int y1, int y2) {
    EighthRest(x1, w, y1, y2);
    const int x2 = x1 + w;
    out_.append(
        ScorePrimitive::MakeEllipse({x1, y1 + 4}, {x1 + 4, y1 + 8}, kMusicColor, kMusicColor));
    // Where the long stroke crosses y1 + 4; a span of no height (a staff only a few pixels
    // high) has no slope to follow.
    const int back = y2 != y1 ? Round(4.0 * (x2 - x1) / (y2 - y1)) : 0;
    Line({x1 + 4, y1 + 8}, {x2 - back, y1 + 4}, 1);
}

void ScoreLayout::Stem(int j, int top) {
    Line({slots_[j].attach.x(), slots_[j].lowest}, {slots_[j].attach.x(), top}, 1);
}

void ScoreLayout::Beam(int from, int to, int top) {
    Line({slots_[from].attach.x(), top}, {slots_[to].attach.x(), top}, 2);
}

void ScoreLayout::SecondBeam(int fromX, int toX, int top) {
    Line({fromX, top + geo_.gap}, {toX, top + geo_.gap}, 1);
}

void ScoreLayout::Flag(int j, int w, bool twice) {
    const int x = slots_[j].attach.x();
    const int t = slots_[j].highest - geo_.rise;
    const int h = geo_.flagStep;
    Line({x, t}, {x + w, t + h}, 2);
    Line({x + w, t + h}, {x + w, t + 2 * h}, 1);
    if (twice) {
        Line({x, t + h}, {x + w, t + 2 * h}, 2);
        Line({x + w, t + 2 * h}, {x + w, t + 3 * h}, 1);
    }
}

void ScoreLayout::Dot(QPoint c) {
    out_.append(ScorePrimitive::MakeEllipse({c.x() - 2, c.y() - 2}, {c.x() + 2, c.y() + 2},
                                            kMusicColor, kMusicColor));
}

}  // namespace orvane
