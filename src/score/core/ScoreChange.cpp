#include "score/core/ScoreChange.h"

#include <QHash>
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
    // The places of each primitive of `before`, in list order.
    QHash<size_t, std::vector<qsizetype>> places;
    places.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        places[HashOf(before[i])].push_back(i);
    }
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
        const auto found = places.constFind(HashOf(p));
        if (found != places.constEnd()) {
            const std::vector<qsizetype>& at = found.value();
            auto candidate = std::upper_bound(at.begin(), at.end(), lastKept);
            for (; candidate != at.end(); ++candidate) {
                if (!kept[size_t(*candidate)] && before[*candidate] == p) {
                    kept[size_t(*candidate)] = true;
                    lastKept = *candidate;
                    matched = true;
                    break;
                }
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
    // The bands share one height, so that neighbouring bands join into one rectangle.
    int top = size.height();
    int bottom = -1;
    for (const QRect& band : bands) {
        if (!band.isEmpty()) {
            top = std::min(top, band.top());
            bottom = std::max(bottom, band.bottom());
        }
    }
    QRegion area;
    for (const QRect& band : bands) {
        if (!band.isEmpty()) {
            area += QRect(QPoint(band.left(), top), QPoint(band.right(), bottom));
        }
    }
    return area;
}

}  // namespace orvane
