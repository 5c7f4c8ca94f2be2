#include "ScenePictures.h"

#include "BellPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>

#include <cstdint>
#include <vector>

namespace orvane::pictures {

namespace {

QColor Rgb(unsigned rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

// Maps belfry units (x across from the middle of the base, h up from the ground, both in units
// of the base width) to picture pixels.
class BelfryFrame {
  public:
    BelfryFrame(QPointF groundCentre, double baseWidth) : ground_(groundCentre), unit_(baseWidth) {}

    QPointF At(double x, double h) const {
        return {ground_.x() + x * unit_, ground_.y() - h * unit_};
    }
    double Len(double units) const { return units * unit_; }

    QRectF Box(double left, double right, double bottom, double top) const {
        return QRectF(At(left, top), At(right, bottom));
    }

    // An arched opening: straight sides from `bottom`, a round top reaching `top`.
    QPainterPath Arch(double centre, double width, double bottom, double top) const {
        const double r = width / 2.0;
        QPainterPath path(At(centre - r, bottom));
        path.lineTo(At(centre - r, top - r));
        path.arcTo(Box(centre - r, centre + r, top - 2.0 * r, top), 180.0, -180.0);
        path.lineTo(At(centre + r, bottom));
        path.closeSubpath();
        return path;
    }

    // A pointed decorative gable (kokoshnik) standing on h = `base`.
    QPainterPath Kokoshnik(double centre, double halfWidth, double base, double height) const {
        QPainterPath path(At(centre - halfWidth, base));
        path.cubicTo(At(centre - halfWidth, base + height * 0.75),
                     At(centre - halfWidth * 0.15, base + height * 0.7), At(centre, base + height));
        path.cubicTo(At(centre + halfWidth * 0.15, base + height * 0.7),
                     At(centre + halfWidth, base + height * 0.75), At(centre + halfWidth, base));
        path.closeSubpath();
        return path;
    }

  private:
    QPointF ground_;
    double unit_;
};

struct Opening {
    double centre, width, bottom, top, bellLip;
};

const std::vector<Opening>& Openings() {
    static const std::vector<Opening> openings = {
        {-0.27, 0.19, 0.75, 1.05, 0.12},
        {0.0, 0.21, 0.75, 1.06, 0.145},
        {0.27, 0.19, 0.75, 1.05, 0.11},
        {0.0, 0.26, 1.21, 1.47, 0.17},
    };
    return openings;
}

QPainterPath OnionPath(const BelfryFrame& f) {
    QPainterPath path(f.At(-0.06, 2.02));
    path.cubicTo(f.At(-0.15, 2.05), f.At(-0.14, 2.13), f.At(-0.05, 2.18));
    path.cubicTo(f.At(-0.02, 2.20), f.At(0.0, 2.215), f.At(0.0, 2.25));
    path.cubicTo(f.At(0.0, 2.215), f.At(0.02, 2.20), f.At(0.05, 2.18));
    path.cubicTo(f.At(0.14, 2.13), f.At(0.15, 2.05), f.At(0.06, 2.02));
    path.closeSubpath();
    return path;
}

QPainterPath TentPath(const BelfryFrame& f) {
    QPainterPath path(f.At(-0.27, 1.55));
    path.lineTo(f.At(-0.075, 1.93));
    path.lineTo(f.At(0.075, 1.93));
    path.lineTo(f.At(0.27, 1.55));
    path.closeSubpath();
    return path;
}

void PaintCross(QPainter& painter, const BelfryFrame& f, const QColor& colour) {
    QPen pen(colour, std::max(1.0, f.Len(0.022)));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(f.At(0.0, 2.24), f.At(0.0, 2.40));
    painter.drawLine(f.At(-0.06, 2.35), f.At(0.06, 2.35));
    painter.drawLine(f.At(-0.03, 2.385), f.At(0.03, 2.385));
    painter.drawLine(f.At(-0.045, 2.28), f.At(0.045, 2.305));
}

// Masonry: tiers, cornices, gables, drum. Each entry is filled as stone.
std::vector<QPainterPath> StoneParts(const BelfryFrame& f) {
    std::vector<QPainterPath> parts;
    auto box = [&](double l, double r, double b, double t) {
        QPainterPath p;
        p.addRect(f.Box(l, r, b, t));
        parts.push_back(p);
    };
    box(-0.5, 0.5, 0.0, 0.66);     // lower tier
    box(-0.54, 0.54, 0.66, 0.71);  // cornice
    box(-0.44, 0.44, 0.71, 1.12);  // ringing tier
    box(-0.48, 0.48, 1.12, 1.17);  // cornice
    for (double side : {-1.0, 1.0}) {
        parts.push_back(f.Kokoshnik(0.39 * side, 0.085, 1.17, 0.16));
    }
    box(-0.3, 0.3, 1.17, 1.51);    // upper ringing tier
    box(-0.33, 0.33, 1.51, 1.55);  // cornice
    box(-0.06, 0.06, 1.93, 2.03);  // drum under the dome
    return parts;
}

std::vector<QPainterPath> Windows(const BelfryFrame& f) {
    return {f.Arch(0.0, 0.22, 0.0, 0.38), f.Arch(-0.3, 0.09, 0.3, 0.48),
            f.Arch(0.3, 0.09, 0.3, 0.48), f.Arch(0.0, 0.055, 1.62, 1.72)};
}

void PaintBellsInOpenings(QPainter& painter, const BelfryFrame& f, BellLook look,
                          const QColor& silhouette) {
    for (const Opening& o : Openings()) {
        BellPose pose;
        pose.silhouette = silhouette;
        const QPointF crown = f.At(o.centre, o.top - 0.035);
        painter.setPen(QPen(look == BellLook::Silhouette ? silhouette : Rgb(0x1a1410),
                            std::max(1.0, f.Len(0.012))));
        painter.drawLine(f.At(o.centre, o.top), crown);
        PaintBell(painter, crown, f.Len(o.bellLip), look, pose);
    }
}

void PaintLitBelfry(QPainter& painter, const BelfryFrame& f) {
    // Stone: warm light from the setting sun on the left, shade on the right.
    QLinearGradient stone(f.At(-0.55, 0), f.At(0.55, 0));
    stone.setColorAt(0.0, Rgb(0xfff4e0));
    stone.setColorAt(0.55, Rgb(0xeadbc0));
    stone.setColorAt(1.0, Rgb(0xb9a78a));
    const std::vector<QPainterPath> parts = StoneParts(f);
    painter.setPen(QPen(Rgb(0x8f7d62), 0.8));
    for (const QPainterPath& part : parts) {
        painter.fillPath(part, stone);
        painter.drawPath(part);
    }
    // Shadows under the cornices.
    for (double h : {0.66, 1.12, 1.51}) {
        const double half = h < 1.0 ? 0.5 : (h < 1.3 ? 0.44 : 0.3);
        QLinearGradient shade(f.At(0, h), f.At(0, h - 0.05));
        shade.setColorAt(0.0, QColor(60, 40, 20, 90));
        shade.setColorAt(1.0, QColor(60, 40, 20, 0));
        painter.fillRect(f.Box(-half, half, h - 0.05, h), shade);
    }
    // Pilasters at the corners of the tiers.
    painter.setPen(QPen(QColor(120, 100, 70, 110), std::max(0.8, f.Len(0.008))));
    for (double x : {-0.44, -0.405, 0.405, 0.44}) {
        painter.drawLine(f.At(x, 0.72), f.At(x, 1.11));
    }
    for (double x : {-0.5, -0.46, 0.46, 0.5}) {
        painter.drawLine(f.At(x, 0.0), f.At(x, 0.655));
    }

    // Openings: the dark inside of the tower with the bells hanging in it.
    QLinearGradient dark(f.At(0, 1.5), f.At(0, 0.7));
    dark.setColorAt(0.0, Rgb(0x1d2130));
    dark.setColorAt(1.0, Rgb(0x3a3442));
    painter.setPen(QPen(Rgb(0x8f7d62), 0.8));
    for (const Opening& o : Openings()) {
        const QPainterPath arch = f.Arch(o.centre, o.width, o.bottom, o.top);
        painter.fillPath(arch, dark);
        painter.drawPath(arch);
    }
    for (const QPainterPath& window : Windows(f)) {
        painter.fillPath(window, Rgb(0x2c2a33));
        painter.drawPath(window);
    }
    PaintBellsInOpenings(painter, f, BellLook::Bronze, QColor());

    // Tent roof with its ribs.
    const QPainterPath tent = TentPath(f);
    QLinearGradient green(f.At(-0.27, 0), f.At(0.27, 0));
    green.setColorAt(0.0, Rgb(0x6f9f7a));
    green.setColorAt(0.5, Rgb(0x3d6a4b));
    green.setColorAt(1.0, Rgb(0x1f3b2a));
    painter.fillPath(tent, green);
    painter.setPen(QPen(QColor(20, 40, 25, 120), std::max(0.7, f.Len(0.006))));
    for (int i = -3; i <= 3; ++i) {
        painter.drawLine(f.At(0.27 * i / 3.5, 1.55), f.At(0.075 * i / 3.5, 1.93));
    }
    painter.fillPath(Windows(f).back(), Rgb(0x2c2a33));

    // Gilded dome and cross.
    const QPainterPath onion = OnionPath(f);
    QRadialGradient gold(f.At(-0.04, 2.12), f.Len(0.16));
    gold.setColorAt(0.0, Rgb(0xfff6c2));
    gold.setColorAt(0.35, Rgb(0xf0c453));
    gold.setColorAt(0.8, Rgb(0xb07d1c));
    gold.setColorAt(1.0, Rgb(0x6e4c0c));
    painter.fillPath(onion, gold);
    PaintCross(painter, f, Rgb(0xe9bd4c));
}

void PaintSilhouetteBelfry(QPainter& painter, const BelfryFrame& f, const QColor& colour) {
    QPainterPath solid;
    for (const QPainterPath& part : StoneParts(f)) {
        solid = solid.united(part);
    }
    solid = solid.united(TentPath(f)).united(OnionPath(f));
    for (const Opening& o : Openings()) {
        solid = solid.subtracted(f.Arch(o.centre, o.width, o.bottom, o.top));
    }
    painter.fillPath(solid, colour);
    PaintBellsInOpenings(painter, f, BellLook::Silhouette, colour);
    PaintCross(painter, f, colour);
}

QFont SceneFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Text filled with a vertical gradient over a soft dark shadow; `baseline` is the left end of
// the text's baseline.
void PaintTitle(QPainter& painter, const QString& text, const QFont& font, QPointF baseline,
                const QColor& top, const QColor& bottom, double shadow) {
    QPainterPath path;
    path.addText(baseline, font, text);
    const QRectF box = path.boundingRect();
    painter.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        painter.setBrush(QColor(0, 0, 0, 50));
        painter.drawPath(path.translated(shadow * i / 2.0, shadow * i / 2.0));
    }
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, top);
    fill.setColorAt(1.0, bottom);
    painter.setBrush(fill);
    painter.drawPath(path);
}

void PaintEveningSky(QPainter& painter, const QRectF& area) {
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, Rgb(0x142443));
    sky.setColorAt(0.45, Rgb(0x3d5384));
    sky.setColorAt(0.72, Rgb(0xb27c86));
    sky.setColorAt(0.88, Rgb(0xf0b36f));
    sky.setColorAt(1.0, Rgb(0xf8dca0));
    painter.fillRect(area, sky);
}

// Faint stars in the upper part of the sky, always the same ones.
void PaintStars(QPainter& painter, const QRectF& area, int count) {
    std::uint32_t state = 20240607u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1u << 24);
    };
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double x = area.left() + next() * area.width();
        const double y = area.top() + next() * next() * area.height();
        const double size = 0.4 + next() * 0.8;
        painter.setBrush(QColor(255, 250, 230, 90 + int(next() * 150)));
        painter.drawEllipse(QPointF(x, y), size, size);
    }
}

void PaintHills(QPainter& painter, double width, double height, double horizon, const QColor& far,
                const QColor& near) {
    QPainterPath back(QPointF(0, height));
    back.lineTo(0, horizon - 4);
    back.cubicTo(width * 0.25, horizon - 14, width * 0.45, horizon + 2, width * 0.7, horizon - 9);
    back.cubicTo(width * 0.85, horizon - 14, width * 0.95, horizon - 6, width, horizon - 8);
    back.lineTo(width, height);
    back.closeSubpath();
    painter.fillPath(back, far);
    QPainterPath front(QPointF(0, height));
    front.lineTo(0, horizon + 3);
    front.cubicTo(width * 0.3, horizon - 2, width * 0.6, horizon + 8, width, horizon + 2);
    front.lineTo(width, height);
    front.closeSubpath();
    painter.fillPath(front, near);
}

}  // namespace

void PaintBelfry(QPainter& painter, QPointF groundCentre, double baseWidth, BelfryStyle style) {
    painter.save();
    const BelfryFrame frame(groundCentre, baseWidth);
    if (style == BelfryStyle::Lit) {
        PaintLitBelfry(painter, frame);
    } else {
        PaintSilhouetteBelfry(painter, frame, Rgb(0x161a28));
    }
    painter.restore();
}

QImage BannerPicture() {
    QImage image(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintEveningSky(painter, QRectF(0, 0, kBannerWidth, kBannerHeight));
    PaintStars(painter, QRectF(0, 0, kBannerWidth, kBannerHeight * 0.5), 18);
    PaintHills(painter, kBannerWidth, kBannerHeight, kBannerHeight - 6.0, Rgb(0x3a3550),
               Rgb(0x1d1b2a));
    PaintBelfry(painter, QPointF(31.0, kBannerHeight - 4.0), 31.0, BelfryStyle::Silhouette);

    const QFont font = SceneFont(QStringLiteral("DejaVu Serif"), 27, true);
    const QString name = QStringLiteral("Orvane");
    const double width = QFontMetricsF(font).horizontalAdvance(name);
    const double left = 62.0 + (kBannerWidth - 62.0 - 4.0 - width) / 2.0;
    PaintTitle(painter, name, font, QPointF(left, 46.0), Rgb(0xfff4cf), Rgb(0xe3a942), 1.6);
    painter.setPen(QPen(QColor(240, 200, 110, 200), 1.0));
    painter.drawLine(QPointF(left, 53.5), QPointF(left + width, 53.5));
    painter.end();
    return image;
}

QImage SplashPicture() {
    QImage image(kSplashWidth, kSplashHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all(0, 0, kSplashWidth, kSplashHeight);
    PaintEveningSky(painter, all);
    PaintStars(painter, QRectF(0, 0, kSplashWidth, kSplashHeight * 0.55), 70);
    PaintHills(painter, kSplashWidth, kSplashHeight, kSplashHeight - 36.0, Rgb(0x4a4262),
               Rgb(0x1c1a28));
    PaintBelfry(painter, QPointF(112.0, kSplashHeight - 33.0), 104.0, BelfryStyle::Lit);

    // Title and version on the right.
    const double textLeft = 215.0, textRight = kSplashWidth - 18.0;
    const QFont titleFont = SceneFont(QStringLiteral("DejaVu Serif"), 56, true);
    const QString title = QStringLiteral("Orvane");
    const double titleWidth = QFontMetricsF(titleFont).horizontalAdvance(title);
    const double titleLeft = textLeft + (textRight - textLeft - titleWidth) / 2.0;
    PaintTitle(painter, title, titleFont, QPointF(titleLeft, 118.0), Rgb(0xfff6d5), Rgb(0xd99a2b),
               2.5);

    const QFont versionFont = SceneFont(QStringLiteral("DejaVu Serif"), 22, false);
    const QString version = QStringLiteral("1.0 beta 2");
    const double versionWidth = QFontMetricsF(versionFont).horizontalAdvance(version);
    const double centre = (textLeft + textRight) / 2.0;
    painter.setPen(QPen(QColor(235, 195, 110, 220), 1.0));
    painter.drawLine(QPointF(centre - 85.0, 136.0), QPointF(centre - 8.0, 136.0));
    painter.drawLine(QPointF(centre + 8.0, 136.0), QPointF(centre + 85.0, 136.0));
    painter.setBrush(QColor(235, 195, 110));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(centre, 136.0), 2.5, 2.5);
    PaintTitle(painter, version, versionFont, QPointF(centre - versionWidth / 2.0, 168.0),
               Rgb(0xfdf1da), Rgb(0xe8d2a8), 1.2);

    // Subtitle across the foot of the picture.
    const QFont subtitleFont = SceneFont(QStringLiteral("DejaVu Serif"), 15, false);
    const QString subtitle = QStringLiteral("Hollin`s school of the bell ringers");
    const double subtitleWidth = QFontMetricsF(subtitleFont).horizontalAdvance(subtitle);
    PaintTitle(painter, subtitle, subtitleFont,
               QPointF((kSplashWidth - subtitleWidth) / 2.0, kSplashHeight - 12.0), Rgb(0xf3e2bd),
               Rgb(0xd9b979), 1.0);

    // A thin gilded frame.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(222, 180, 90, 200), 1.0));
    painter.drawRect(QRectF(4.5, 4.5, kSplashWidth - 9.0, kSplashHeight - 9.0));
    painter.setPen(QPen(QColor(222, 180, 90, 90), 1.0));
    painter.drawRect(QRectF(7.5, 7.5, kSplashWidth - 15.0, kSplashHeight - 15.0));
    painter.end();
    return image;
}

}  // namespace orvane::pictures
