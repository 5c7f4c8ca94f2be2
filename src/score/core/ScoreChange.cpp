#include "score/core/ScoreChange.h"

#include <QHashFunctions>
#include <algorithm>
#include <array>
#include <vector>

namespace orvane {

namespace {

size_t HashOf(const ScorePrimitive& p) {
    return qHashMulti(0, int(p.kind), p.p1.x(), p.p1.y(), p.p2.x(), p.p2.y(), p.width,
                      p.color.rgba(), p.fill.rgba());
}

}  // namespace

QRect ScoreChange::Bounds(const ScorePrimitive& p) {
    const QRect corners = QRect(p.p1, p.p2).normalized();
    switch (p.kind) {
        case ScorePrimitive::Kind::Fill:
            return QRect(p.p1, QPoint(p.p2.x() - 1, p.p2.y() - 1));
        case ScorePrimitive::Kind::Line: {
            const int margin = p.width + 1;
            return corners.adjusted(-margin, -margin, margin, margin);
        }
        case ScorePrimitive::Kind::Ellipse:
        case ScorePrimitive::Kind::Rect:
            return corners.adjusted(-1, -1, 1, 1);
    }
    return corners;
}

QRegion ScoreChange::Area(const ScorePrimitives& before, const ScorePrimitives& after, QSize size) {
    const QRect image(QPoint(0, 0), size);
    if (size.isEmpty()) {
        return {};
    }
    // The primitives of `before` by hash, each hash's places in list order.
    std::vector<std::pair<size_t, qsizetype>> places;
    places.reserve(size_t(before.size()));
    for (qsizetype i = 0; i < before.size(); ++i) {
        places.emplace_back(HashOf(before[i]), i);
    }
    std::sort(places.begin(), places.end());
    std::vector<bool> kept(size_t(before.size()), false);
    std::array<QRect, kBands> bands{};
    bool whole = false;
    const auto mark = [&](const ScorePrimitive& p) {
        const QRect r = Bounds(p).intersected(image);
        if (r.isEmpty()) {
            return;
        }
        if (p.kind == ScorePrimitive::Kind::Fill && r.width() * 2 > size.width()) {
            whole = true;
            return;
        }
        const int first = std::clamp(r.left() * kBands / size.width(), 0, kBands - 1);
        const int last = std::clamp(r.right() * kBands / size.width(), 0, kBands - 1);
        for (int band = first; band <= last; ++band) {
            const int left = band * size.width() / kBands;
            const int right = (band + 1) * size.width() / kBands - 1;
            const QRect part(QPoint(std::max(left, r.left()), r.top()),
                             QPoint(std::min(right, r.right()), r.bottom()));
            bands[size_t(band)] = bands[size_t(band)].united(part);
        }
    };
    // Greedy common subsequence: a primitive of `after` keeps its pixels when an equal one of
    // `before` comes after the last one kept.
    qsizetype lastKept = -1;
    for (const ScorePrimitive& p : after) {
        bool matched = false;
        const size_t hash = HashOf(p);
        auto candidate = std::upper_bound(places.begin(), places.end(), std::make_pair(hash, lastKept));
        for (; candidate != places.end() && candidate->first == hash; ++candidate) {
            const qsizetype at = candidate->second;
            if (!kept[size_t(at)] && before[at] == p) {
                kept[size_t(at)] = true;
                lastKept = at;
                matched = true;
                break;
            }
        }
        if (!matched) {
            mark(p);
        }
    }
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (!kept[size_t(i)]) {
            mark(before[i]);
        }
    }
    if (whole) {
        return QRegion(image);
    }
    // Neighbouring columns that change become one rectangle as high as their changes: the
    // painter then clips to a few rectangles and the window system receives a few requests,
    // where a column each would be cut into many pieces of different heights.
    QRegion area;
    QRect run;
    for (int band = 0; band <= kBands; ++band) {
        // Past the last column, an empty one ends the last run.
        const QRect column = band < kBands ? bands[size_t(band)] : QRect();
        if (!column.isEmpty()) {
            run = run.united(column);
        } else if (!run.isEmpty()) {
            area += run;
            run = QRect();
        }
    }
    return area;
}

}  // namespace orvane
