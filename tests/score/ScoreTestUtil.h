#pragma once

#include "score/core/ScoreLayout.h"

#include <QStringList>
#include <algorithm>
#include <ostream>

namespace orvane {

// Readable failure output for primitive comparisons.
inline void PrintTo(const ScorePrimitive& p, std::ostream* os) {
    static const char* const kKinds[] = {"Fill", "Line", "Ellipse", "Rect"};
    *os << kKinds[static_cast<int>(p.kind)] << "(" << p.p1.x() << "," << p.p1.y() << ")-("
        << p.p2.x() << "," << p.p2.y() << ") w" << p.width << " " << p.color.name().toStdString()
        << "/" << p.fill.name().toStdString();
}

}  // namespace orvane

namespace orvane::test {

inline const QColor kBackground(240, 240, 240);
inline const QColor kMaroon(128, 0, 0);

// A step list of `count` silent steps.
inline QStringList Silent(int count) {
    QStringList steps;
    for (int i = 0; i < count; ++i) {
        steps.append(QString());
    }
    return steps;
}

inline ScorePrimitive Line(int x1, int y1, int x2, int y2, int width = 1) {
    return ScorePrimitive::MakeLine({x1, y1}, {x2, y2}, width, kMaroon);
}
inline ScorePrimitive Blob(int x1, int y1, int x2, int y2) {
    return ScorePrimitive::MakeEllipse({x1, y1}, {x2, y2}, kMaroon, kMaroon);
}
inline ScorePrimitive Head(int x, int y, bool hollow = false) {
    return ScorePrimitive::MakeEllipse({x - 3, y - 2}, {x + 3, y + 2}, kMaroon,
                                       hollow ? kBackground : kMaroon);
}

inline bool IsHead(const ScorePrimitive& p) {
    return p.kind == ScorePrimitive::Kind::Ellipse && p.p2.x() - p.p1.x() == 6 &&
           p.p2.y() - p.p1.y() == 4;
}

template <class Pred>
ScorePrimitives Select(const ScorePrimitives& all, Pred pred) {
    ScorePrimitives out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out), pred);
    return out;
}

inline ScorePrimitives Heads(const ScorePrimitives& all) {
    return Select(all, IsHead);
}
inline ScorePrimitives Rects(const ScorePrimitives& all) {
    return Select(all,
                  [](const ScorePrimitive& p) { return p.kind == ScorePrimitive::Kind::Rect; });
}
inline ScorePrimitives MusicLines(const ScorePrimitives& all) {
    return Select(all, [](const ScorePrimitive& p) {
        return p.kind == ScorePrimitive::Kind::Line && p.color == kMaroon;
    });
}

}  // namespace orvane::test
