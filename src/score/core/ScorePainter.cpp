#include "score/core/ScorePainter.h"

#include "score/core/ScoreChange.h"

#include <QPainter>
#include <QPen>
#include <QRect>

namespace orvane {

namespace {

// The rectangle whose geometric corners are p1 and p2. Qt draws the 1-pixel outline of such a
// rectangle on columns p1.x to p2.x and rows p1.y to p2.y.
QRect Between(QPoint p1, QPoint p2) {
    return QRect(p1.x(), p1.y(), p2.x() - p1.x(), p2.y() - p1.y());
}

}  // namespace

void ScorePainter::Paint(QPainter& painter, const ScorePrimitives& primitives) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Square caps keep both end points of a 1-pixel line; a wider line is centred on its path
    // and extended by half its width at each end.
    QPen pen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    for (const ScorePrimitive& p : primitives) {
        switch (p.kind) {
            case ScorePrimitive::Kind::Fill:
                painter.fillRect(Between(p.p1, p.p2), p.color);
                break;
            case ScorePrimitive::Kind::Line:
                pen.setColor(p.color);
                pen.setWidth(p.width);
                painter.setPen(pen);
                painter.drawLine(p.p1, p.p2);
                break;
            case ScorePrimitive::Kind::Ellipse:
            case ScorePrimitive::Kind::Rect:
                pen.setColor(p.color);
                pen.setWidth(1);
                painter.setPen(pen);
                painter.setBrush(p.fill);
                if (p.kind == ScorePrimitive::Kind::Ellipse) {
                    painter.drawEllipse(Between(p.p1, p.p2));
                } else {
                    painter.drawRect(Between(p.p1, p.p2));
                }
                break;
        }
    }
    painter.restore();
}

void ScorePainter::Paint(QImage& image, const ScorePrimitives& primitives) {
    if (image.isNull()) {
        return;
    }
    QPainter painter(&image);
    Paint(painter, primitives);
}

void ScorePainter::Paint(QImage& image, const ScorePrimitives& primitives, const QRegion& area) {
    if (image.isNull() || area.isEmpty()) {
        return;
    }
    QPainter painter(&image);
    painter.setClipRegion(area);
    // Only the primitives that reach the area.
    const QRect reach = area.boundingRect();
    ScorePrimitives reaching;
    reaching.reserve(primitives.size());
    for (const ScorePrimitive& p : primitives) {
        const QRect bounds = ScoreChange::Bounds(p);
        if (bounds.intersects(reach) && area.intersects(bounds)) {
            reaching.append(p);
        }
    }
    Paint(painter, reaching);
}

QImage ScorePainter::Render(int width, int height, const ScorePrimitives& primitives) {
    QImage image(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    Paint(image, primitives);
    return image;
}

}  // namespace orvane
