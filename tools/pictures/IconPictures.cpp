#include "IconPictures.h"

#include "BellPainter.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTransform>

#include <stdexcept>

namespace orvane::pictures {

namespace {

// Geometry on a 256-unit square: the backdrop's margin and corner radius, and the bell's lip
// width and crown top (the bell with its clapper tail is centred vertically).
constexpr double kUnits = 256.0;
constexpr double kMargin = 8.0;
constexpr double kCorner = 44.0;
constexpr double kLip = 168.0;
constexpr double kCrownTop = (kUnits - kLip * kBellHeightWithClapper) / 2.0;

const QColor kBackdropTop(0x2b, 0x4a, 0x8c);
const QColor kBackdropBottom(0x12, 0x22, 0x48);

QString Number(double value) {
    return QString::number(value, 'f', 2);
}

// SVG path data of `path` mapped through `transform`.
QString SvgPathData(const QPainterPath& path, const QTransform& transform) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF p = transform.map(QPointF(e.x, e.y));
        switch (e.type) {
            case QPainterPath::MoveToElement:
                d += QStringLiteral("M%1 %2 ").arg(Number(p.x()), Number(p.y()));
                break;
            case QPainterPath::LineToElement:
                d += QStringLiteral("L%1 %2 ").arg(Number(p.x()), Number(p.y()));
                break;
            case QPainterPath::CurveToElement:
                d += QStringLiteral("C%1 %2 ").arg(Number(p.x()), Number(p.y()));
                break;
            case QPainterPath::CurveToDataElement:
                d += QStringLiteral("%1 %2 ").arg(Number(p.x()), Number(p.y()));
                break;
        }
    }
    return d + QLatin1Char('Z');
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw std::runtime_error(QStringLiteral("cannot write %1").arg(path).toStdString());
    }
}

}  // namespace

QImage IconPicture(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);
    QLinearGradient backdrop(0.0, kMargin, 0.0, kUnits - kMargin);
    backdrop.setColorAt(0.0, kBackdropTop);
    backdrop.setColorAt(1.0, kBackdropBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(backdrop);
    painter.drawRoundedRect(QRectF(kMargin, kMargin, kUnits - 2 * kMargin, kUnits - 2 * kMargin),
                            kCorner, kCorner);
    // The painter measures its lip in picture pixels; draw at picture scale so that small icons
    // keep their outline and clapper visible.
    painter.resetTransform();
    const double scale = size / kUnits;
    PaintBell(painter, QPointF(size / 2.0, kCrownTop * scale), kLip * scale, BellLook::Bronze);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray IconSvg() {
    QTransform unitToIcon;
    unitToIcon.translate(kUnits / 2.0, kCrownTop);
    unitToIcon.scale(kLip, kLip);
    const auto y = [](double unit) { return Number(kCrownTop + kLip * unit); };
    const auto x = [](double unit) { return Number(kUnits / 2.0 + kLip * unit); };
    const auto len = [](double unit) { return Number(kLip * unit); };
    const QString body = SvgPathData(BellBodyPath(), unitToIcon);

    QString svg;
    svg += QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 256 256\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"backdrop\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%3\" "
        "x2=\"0\" y2=\"%4\">\n"
        "      <stop offset=\"0\" stop-color=\"%1\"/>\n"
        "      <stop offset=\"1\" stop-color=\"%2\"/>\n"
        "    </linearGradient>\n"
        "    <linearGradient id=\"bronze\" gradientUnits=\"userSpaceOnUse\" x1=\"%5\" y1=\"0\" "
        "x2=\"%6\" y2=\"0\">\n"
        "      <stop offset=\"0\" stop-color=\"#45280e\"/>\n"
        "      <stop offset=\"0.12\" stop-color=\"#7d4a1c\"/>\n"
        "      <stop offset=\"0.30\" stop-color=\"#e3b062\"/>\n"
        "      <stop offset=\"0.37\" stop-color=\"#f6d996\"/>\n"
        "      <stop offset=\"0.48\" stop-color=\"#c4863a\"/>\n"
        "      <stop offset=\"0.72\" stop-color=\"#8c5322\"/>\n"
        "      <stop offset=\"0.90\" stop-color=\"#5b3414\"/>\n"
        "      <stop offset=\"1\" stop-color=\"#3c210b\"/>\n"
        "    </linearGradient>\n"
        "  </defs>\n")
               .arg(kBackdropTop.name(), kBackdropBottom.name(), Number(kMargin), Number(kUnits - kMargin),
                    x(-0.5), x(0.5));
    svg += QStringLiteral(
               "  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" "
               "fill=\"url(#backdrop)\"/>\n")
               .arg(Number(kMargin), Number(kUnits - 2 * kMargin), Number(kCorner));
    // Crown: the central loop and the bar on the head.
    svg += QStringLiteral(
               "  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" stroke=\"#3a200a\" "
               "stroke-width=\"%4\"/>\n")
               .arg(x(0.0), y(0.08), len(0.05), len(0.05));
    svg += QStringLiteral(
               "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"#3a200a\"/>\n")
               .arg(x(-0.2), y(0.15), len(0.4), len(0.035), len(0.015));
    svg += QStringLiteral(
               "  <path d=\"%1\" fill=\"url(#bronze)\" stroke=\"#3a200a\" stroke-width=\"2\"/>\n")
               .arg(body);
    // The dark mouth and the clapper tail below it.
    svg += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" fill=\"#2a180a\"/>\n")
               .arg(x(0.0), y(1.112), len(0.46), len(0.034));
    svg += QStringLiteral(
               "  <line x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\" stroke=\"#26221e\" "
               "stroke-width=\"%4\" stroke-linecap=\"round\"/>\n")
               .arg(x(0.0), y(1.112), y(kBellHeightWithClapper - 0.06), len(0.065));
    svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"#26221e\"/>\n")
               .arg(x(0.0), y(kBellHeightWithClapper - 0.06), len(0.06));
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

void WriteIcons(const QString& folder, const QString& name) {
    for (int size : kIconSizes) {
        const QString path = QStringLiteral("%1/%2x%2/apps/%3.png").arg(folder).arg(size).arg(name);
        QDir().mkpath(QFileInfo(path).path());
        if (!IconPicture(size).save(path, "PNG")) {
            throw std::runtime_error(QStringLiteral("cannot write %1").arg(path).toStdString());
        }
    }
    WriteFile(QStringLiteral("%1/scalable/apps/%2.svg").arg(folder, name), IconSvg());
}

}  // namespace orvane::pictures
