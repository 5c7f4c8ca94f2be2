#pragma once

#include <QColor>
#include <QList>
#include <QPoint>

namespace orvane {

// One drawing operation of a score staff, in image pixel coordinates (x rightwards, y
// downwards). ScorePainter gives each kind its exact pixel meaning:
// - Fill: every pixel x in [p1.x, p2.x) and y in [p1.y, p2.y) becomes `color`.
// - Line: a straight line from p1 to p2, both end points drawn, `width` pixels wide, `color`.
// - Ellipse: the ellipse inscribed in the rectangle with corners p1 (top left) and p2 (bottom
//   right): a 1-pixel outline in `color` along that rectangle, the inside filled with `fill`.
//   The outline covers the columns p1.x to p2.x and the rows p1.y to p2.y, so the shape is
//   centred on the middle of the two corners.
// - Rect: the rectangle with corners p1 and p2, outline in `color`, inside `fill`, covering
//   the same pixels as an Ellipse with those corners would bound.
struct ScorePrimitive {
    enum class Kind : quint8 { Fill, Line, Ellipse, Rect };

    Kind kind = Kind::Line;
    QPoint p1;
    QPoint p2;
    int width = 1;
    QColor color;
    QColor fill;

    static ScorePrimitive MakeFill(QPoint topLeft, QPoint bottomRightExclusive, QColor c) {
        return {Kind::Fill, topLeft, bottomRightExclusive, 1, c, c};
    }
    static ScorePrimitive MakeLine(QPoint from, QPoint to, int penWidth, QColor c) {
        return {Kind::Line, from, to, penWidth, c, c};
    }
    static ScorePrimitive MakeEllipse(QPoint topLeft, QPoint bottomRight, QColor outline,
                                      QColor inside) {
        return {Kind::Ellipse, topLeft, bottomRight, 1, outline, inside};
    }
    static ScorePrimitive MakeRect(QPoint topLeft, QPoint bottomRight, QColor outline,
                                   QColor inside) {
        return {Kind::Rect, topLeft, bottomRight, 1, outline, inside};
    }

    friend bool operator==(const ScorePrimitive& a, const ScorePrimitive& b) {
        return a.kind == b.kind && a.p1 == b.p1 && a.p2 == b.p2 && a.width == b.width &&
               a.color == b.color && a.fill == b.fill;
    }
};

using ScorePrimitives = QList<ScorePrimitive>;

}  // namespace orvane
