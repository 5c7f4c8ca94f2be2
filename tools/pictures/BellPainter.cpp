#include "BellPainter.h"

#include <QColor>
#include <QLinearGradient>
#include <QPen>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace orvane::pictures {

namespace {

// Unit geometry, lip width 1 (see BellBodyPath).
constexpr double kHeadTop = 0.165;
constexpr double kLipCorner = 1.115;  // outer corner of the lip
constexpr double kLipBottom = kBellHeightPerWidth;
constexpr double kMouthY = 1.112;  // centre of the dark opening of the mouth
constexpr double kClapperPivotY = 0.40;
constexpr double kClapperBall = 0.06;  // radius of the ball at the end of the tail
constexpr double kClapperLength = kBellHeightWithClapper - kClapperPivotY - kClapperBall;
constexpr double kClapperStrikeDegrees = 33.0;  // swing that puts the tail on the lip corner

struct ColourStop {
    double at;
    QColor colour;
};

// Colour stops across the bell, left edge to right edge; the light falls from the upper left.
std::vector<ColourStop> BodyStops(BellLook look) {
    switch (look) {
        case BellLook::Struck:
            return {{0.00, QColor(0x6b, 0x44, 0x18)}, {0.12, QColor(0xb0, 0x7a, 0x34)},
                    {0.30, QColor(0xff, 0xe0, 0x98)}, {0.37, QColor(0xff, 0xf6, 0xd6)},
                    {0.48, QColor(0xf2, 0xbf, 0x62)}, {0.72, QColor(0xc9, 0x8a, 0x3c)},
                    {0.90, QColor(0x8a, 0x5a, 0x22)}, {1.00, QColor(0x5e, 0x3a, 0x12)}};
        case BellLook::Faded:
            return {{0.00, QColor(0x96, 0x96, 0x96)}, {0.12, QColor(0xb2, 0xb2, 0xb2)},
                    {0.30, QColor(0xe0, 0xe0, 0xe0)}, {0.37, QColor(0xee, 0xee, 0xee)},
                    {0.48, QColor(0xd0, 0xd0, 0xd0)}, {0.72, QColor(0xb6, 0xb6, 0xb6)},
                    {0.90, QColor(0xa0, 0xa0, 0xa0)}, {1.00, QColor(0x8e, 0x8e, 0x8e)}};
        default:
            return {{0.00, QColor(0x45, 0x28, 0x0e)}, {0.12, QColor(0x7d, 0x4a, 0x1c)},
                    {0.30, QColor(0xe3, 0xb0, 0x62)}, {0.37, QColor(0xf6, 0xd9, 0x96)},
                    {0.48, QColor(0xc4, 0x86, 0x3a)}, {0.72, QColor(0x8c, 0x53, 0x22)},
                    {0.90, QColor(0x5b, 0x34, 0x14)}, {1.00, QColor(0x3c, 0x21, 0x0b)}};
    }
}

bool IsShaded(BellLook look) {
    return look == BellLook::Bronze || look == BellLook::Struck || look == BellLook::Faded;
}

bool IsSchematic(BellLook look) {
    return look == BellLook::Outline || look == BellLook::OutlineStruck || look == BellLook::Ghost;
}

bool IsStruck(BellLook look) {
    return look == BellLook::Struck || look == BellLook::OutlineStruck;
}

QColor MetalEdge(BellLook look) {
    switch (look) {
        case BellLook::Struck:
            return QColor(0x5a, 0x36, 0x0e);
        case BellLook::Faded:
            return QColor(0x80, 0x80, 0x80);
        case BellLook::Outline:
            return QColor(0x2d, 0x44, 0x70);
        case BellLook::OutlineStruck:
            return QColor(0xa3, 0x3c, 0x00);
        case BellLook::Ghost:
            return QColor(0xbc, 0xbc, 0xbc);
        default:
            return QColor(0x3a, 0x20, 0x0a);
    }
}

QColor FlatFill(BellLook look, const BellPose& pose) {
    switch (look) {
        case BellLook::Outline:
            return QColor(0xe6, 0xed, 0xf7);
        case BellLook::OutlineStruck:
            return QColor(0xff, 0x9c, 0x40);
        case BellLook::Ghost:
            return QColor(0xe4, 0xe4, 0xe4);
        default:
            return pose.silhouette;
    }
}

// A pen that is `pixels` wide on the picture whatever the painter's scale.
QPen PixelPen(const QColor& colour, double pixels) {
    QPen pen(colour, pixels);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QPainterPath CrownPath() {
    QPainterPath loops;
    // Central loop.
    loops.moveTo(-0.05, 0.175);
    loops.lineTo(-0.05, 0.07);
    loops.arcTo(QRectF(-0.05, 0.02, 0.10, 0.10), 180.0, -180.0);
    loops.lineTo(0.05, 0.175);
    // Side loops (ears).
    for (double side : {-1.0, 1.0}) {
        const double inner = 0.085 * side;
        const double outer = 0.175 * side;
        const double left = std::min(inner, outer);
        loops.moveTo(inner, 0.175);
        loops.lineTo(inner, 0.13);
        loops.arcTo(QRectF(left, 0.085, 0.09, 0.09), side > 0 ? 180.0 : 0.0,
                    side > 0 ? -180.0 : 180.0);
        loops.lineTo(outer, 0.175);
    }
    return loops;
}

// A horizontal band around the bell at height y, bowed downwards as seen from slightly above.
QPainterPath BandPath(double y) {
    QPainterPath band;
    band.moveTo(-0.6, y - 0.01);
    band.quadTo(0.0, y + 0.04, 0.6, y - 0.01);
    return band;
}

QPointF ClapperEndUnit(const BellPose& pose) {
    const double clapper = std::clamp(pose.clapper, -1.0, 1.0);
    const double radians = clapper * kClapperStrikeDegrees * std::numbers::pi / 180.0;
    return {kClapperLength * std::sin(radians),
            kClapperPivotY + kClapperLength * std::cos(radians)};
}

QTransform BellTransform(QPointF crownTop, double lipWidth, const BellPose& pose) {
    QTransform transform;
    transform.translate(crownTop.x(), crownTop.y());
    transform.rotate(pose.tiltDegrees);
    transform.scale(lipWidth, lipWidth);
    return transform;
}

void PaintShading(QPainter& painter, const QPainterPath& body, BellLook look) {
    QLinearGradient across(-0.5, 0.0, 0.5, 0.0);
    for (const ColourStop& stop : BodyStops(look)) {
        across.setColorAt(stop.at, stop.colour);
    }
    painter.fillPath(body, across);

    // The head lies in the shade of the crown; the sound bow catches some light from below.
    QLinearGradient down(0.0, kHeadTop, 0.0, kLipBottom);
    down.setColorAt(0.00, QColor(0, 0, 0, 70));
    down.setColorAt(0.18, QColor(0, 0, 0, 0));
    down.setColorAt(0.80, QColor(0, 0, 0, 0));
    down.setColorAt(0.93, QColor(255, 240, 200, look == BellLook::Faded ? 20 : 45));
    down.setColorAt(1.00, QColor(0, 0, 0, 40));
    painter.fillPath(body, down);
}

void PaintBands(QPainter& painter, const QPainterPath& body, double lipWidth, BellLook look) {
    const bool schematic = IsSchematic(look);
    if (lipWidth < (schematic ? 16.0 : 12.0)) {
        return;
    }
    const double pixels = std::clamp(lipWidth / 40.0, 0.6, 1.4);
    painter.save();
    painter.setClipPath(body, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    const QColor dark =
        schematic ? MetalEdge(look) : QColor(0, 0, 0, look == BellLook::Faded ? 50 : 95);
    const QColor light(255, 250, 230, look == BellLook::Faded ? 40 : 80);
    const std::vector<double> levels =
        schematic ? std::vector<double>{0.33, 0.99} : std::vector<double>{0.31, 0.35, 0.97, 1.02};
    for (double level : levels) {
        painter.setPen(PixelPen(dark, pixels));
        painter.drawPath(BandPath(level));
        if (!schematic) {
            painter.setPen(PixelPen(light, pixels));
            painter.drawPath(BandPath(level + 1.1 * pixels / lipWidth));
        }
    }
    // A row of small bosses between the shoulder bands on the larger bells.
    if (!schematic && lipWidth >= 30.0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, look == BellLook::Faded ? 35 : 70));
        const double radius = 0.012;
        for (int i = -4; i <= 4; ++i) {
            const double x = i * 0.065;
            const double y = 0.33 + 0.03 * (1.0 - (x / 0.6) * (x / 0.6));
            painter.drawEllipse(QPointF(x, y), radius, radius * 1.3);
        }
    }
    painter.restore();
}

void PaintStrikeEffects(QPainter& painter, const BellPose& pose, BellLook look, double lipWidth) {
    const QColor wave =
        look == BellLook::Struck ? QColor(255, 128, 0, 220) : QColor(0xd9, 0x48, 0x0f);
    const double pixels = std::clamp(lipWidth / 18.0, 0.9, 2.0);
    painter.setBrush(Qt::NoBrush);
    // Sound waves on both sides of the sound bow.
    for (int ring = 0; ring < pose.waveRings; ++ring) {
        const double radius = 0.66 + 0.17 * ring;
        QColor colour = wave;
        colour.setAlpha(wave.alpha() - 70 * ring);
        painter.setPen(PixelPen(colour, pixels));
        const QRectF circle(-radius, 0.82 - radius, 2 * radius, 2 * radius);
        painter.drawArc(circle, -28 * 16, 56 * 16);
        painter.drawArc(circle, 152 * 16, 56 * 16);
    }
    // A spark where the clapper meets the lip.
    if (pose.clapper != 0.0) {
        const QPointF hit(0.47 * (pose.clapper > 0 ? 1.0 : -1.0), kLipCorner + 0.01);
        painter.setPen(PixelPen(QColor(255, 250, 180), pixels));
        const double ray = 0.11;
        for (int i = 0; i < 4; ++i) {
            const double angle = i * std::numbers::pi / 4.0;
            const QPointF d(ray * std::cos(angle), ray * std::sin(angle));
            painter.drawLine(hit - d, hit + d);
        }
    }
}

}  // namespace

QPainterPath BellBodyPath() {
    // Right half as cubic segments from the middle of the head down to the middle of the lip.
    struct Segment {
        QPointF c1, c2, to;
    };
    const QPointF start(0.0, kHeadTop);
    const std::vector<Segment> right = {
        {{0.08, kHeadTop - 0.004}, {0.16, kHeadTop + 0.002}, {0.22, 0.175}},  // head
        {{0.27, 0.178}, {0.295, 0.205}, {0.30, 0.26}},                        // shoulder
        {{0.305, 0.40}, {0.318, 0.58}, {0.335, 0.70}},                        // waist
        {{0.355, 0.86}, {0.44, 0.96}, {0.50, 1.06}},                          // sound bow
        {{0.503, 1.08}, {0.503, 1.10}, {0.50, kLipCorner}},                   // lip edge
        {{0.50, 1.15}, {0.28, kLipBottom}, {0.0, kLipBottom}},                // lip, near side
    };
    QPainterPath path(start);
    for (const Segment& s : right) {
        path.cubicTo(s.c1, s.c2, s.to);
    }
    // Left half: the same segments mirrored and walked back up.
    for (auto it = right.rbegin(); it != right.rend(); ++it) {
        const auto next = std::next(it);
        const QPointF to = next == right.rend() ? start : next->to;
        path.cubicTo(QPointF(-it->c2.x(), it->c2.y()), QPointF(-it->c1.x(), it->c1.y()),
                     QPointF(-to.x(), to.y()));
    }
    path.closeSubpath();
    return path;
}

QPointF ClapperTailEnd(QPointF crownTop, double lipWidth, const BellPose& pose) {
    return BellTransform(crownTop, lipWidth, pose).map(ClapperEndUnit(pose));
}

void PaintBell(QPainter& painter, QPointF crownTop, double lipWidth, BellLook look,
               const BellPose& pose) {
    painter.save();
    painter.setTransform(BellTransform(crownTop, lipWidth, pose), true);
    const QPainterPath body = BellBodyPath();
    const QColor edge = MetalEdge(look);
    const double edgePixels = IsSchematic(look) ? std::clamp(lipWidth / 16.0, 1.0, 1.6)
                                                : std::clamp(lipWidth / 50.0, 0.5, 1.0);
    const bool struck = IsStruck(look);

    if (look == BellLook::Struck && pose.glow) {
        QRadialGradient glow(QPointF(0.0, 0.78), 0.85);
        glow.setColorAt(0.0, QColor(255, 214, 110, 170));
        glow.setColorAt(0.6, QColor(255, 200, 90, 70));
        glow.setColorAt(1.0, QColor(255, 200, 90, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(QPointF(0.0, 0.78), 0.85, 0.85);
    }

    // Crown loops, drawn as thick strokes behind the head.
    {
        QPen loopPen(look == BellLook::Silhouette ? pose.silhouette : edge,
                     std::max(0.05, 1.0 / lipWidth));
        loopPen.setCapStyle(Qt::FlatCap);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(loopPen);
        painter.drawPath(CrownPath());
        painter.setPen(Qt::NoPen);
        painter.setBrush(look == BellLook::Silhouette ? pose.silhouette : edge);
        painter.drawRoundedRect(QRectF(-0.2, 0.15, 0.4, 0.035), 0.015, 0.015);
    }

    // Body.
    if (IsShaded(look)) {
        PaintShading(painter, body, look);
    } else {
        painter.fillPath(body, FlatFill(look, pose));
    }
    PaintBands(painter, body, lipWidth, look);

    // The dark opening of the mouth, seen a little from below.
    const QRectF mouth(-0.46, kMouthY - 0.034, 0.92, 0.068);
    if (look != BellLook::Silhouette) {
        QColor inside = IsShaded(look) ? QColor(0x2a, 0x18, 0x0a) : edge;
        if (look == BellLook::Faded) {
            inside = QColor(0x70, 0x70, 0x70);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(inside);
        painter.drawEllipse(mouth);
    }

    // Outline of the body.
    if (look != BellLook::Silhouette) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(PixelPen(edge, edgePixels));
        painter.drawPath(body);
    }

    // Clapper: only its tail shows, below the body and across the opening of the mouth.
    {
        QPainterPath visible;
        visible.addRect(QRectF(-1.5, -0.5, 3.0, 2.5));
        QPainterPath hidden = body;
        QPainterPath opening;
        opening.addEllipse(mouth);
        hidden = hidden.subtracted(opening);
        visible = visible.subtracted(hidden);
        painter.save();
        painter.setClipPath(visible, Qt::IntersectClip);
        const QColor iron = look == BellLook::Silhouette ? pose.silhouette
                            : look == BellLook::Faded    ? QColor(0x6e, 0x6e, 0x6e)
                            : IsSchematic(look)          ? edge
                                                         : QColor(0x26, 0x22, 0x1e);
        const QPointF pivot(0.0, kClapperPivotY);
        const QPointF end = ClapperEndUnit(pose);
        QPen rod(iron, std::max(0.065, 1.0 / lipWidth));
        rod.setCapStyle(Qt::RoundCap);
        painter.setPen(rod);
        painter.drawLine(pivot, end);
        painter.setPen(Qt::NoPen);
        painter.setBrush(iron);
        const double ball = std::max(kClapperBall, 1.1 / lipWidth);
        painter.drawEllipse(end, ball, ball);
        painter.restore();
    }

    if (struck) {
        PaintStrikeEffects(painter, pose, look, lipWidth);
    }
    painter.restore();
}

}  // namespace orvane::pictures
