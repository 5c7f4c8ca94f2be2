#include "StripPictures.h"

#include "BellPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace orvane::pictures {

namespace {

constexpr double kSmallestLip = 36.0;
constexpr double kLargestLip = 66.0;

}  // namespace

double StripLipWidth(int weightKg, int lightestKg, int heaviestKg) {
    if (heaviestKg <= lightestKg) {
        return kLargestLip;
    }
    const double span = std::log(double(heaviestKg)) - std::log(double(lightestKg));
    const double t =
        std::clamp((std::log(double(weightKg)) - std::log(double(lightestKg))) / span, 0.0, 1.0);
    return kSmallestLip + t * (kLargestLip - kSmallestLip);
}

QImage StripPicture(int weightKg, int lightestKg, int heaviestKg, bool inSet) {
    const int side = kStripPictureSide;
    QImage image(side, side, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QRadialGradient background(QPointF(side * 0.42, side * 0.38), side * 0.8);
    if (inSet) {
        background.setColorAt(0.0, QColor(0xff, 0xfc, 0xf3));
        background.setColorAt(1.0, QColor(0xee, 0xe1, 0xc2));
    } else {
        background.setColorAt(0.0, QColor(0xf0, 0xf0, 0xf0));
        background.setColorAt(1.0, QColor(0xd4, 0xd4, 0xd4));
    }
    painter.fillRect(image.rect(), background);

    const double lip = StripLipWidth(weightKg, lightestKg, heaviestKg);
    const double height = lip * kBellHeightWithClapper;
    const double top = std::round((side - height) / 2.0 + 1.0);
    const QPointF crown(side / 2.0, top);

    // The iron strap that the bell hangs on, from the top edge to the crown.
    painter.setPen(QPen(inSet ? QColor(0x4a, 0x3b, 0x2c) : QColor(0xa6, 0xa6, 0xa6),
                        std::max(2.0, lip / 22.0)));
    painter.drawLine(QPointF(side / 2.0, 0.0), QPointF(side / 2.0, top + lip * 0.05));

    // A soft shadow on the wall behind the bell.
    {
        QRadialGradient shadow(QPointF(side / 2.0 + lip * 0.12, top + lip * 0.75), lip * 0.75);
        shadow.setColorAt(0.0, QColor(0, 0, 0, inSet ? 55 : 30));
        shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(shadow);
        painter.drawEllipse(QPointF(side / 2.0 + lip * 0.12, top + lip * 0.75), lip * 0.75,
                            lip * 0.75);
    }

    if (inSet) {
        PaintBell(painter, crown, lip, BellLook::Bronze);
    } else {
        painter.setOpacity(0.75);
        PaintBell(painter, crown, lip, BellLook::Faded);
        painter.setOpacity(1.0);
    }
    painter.end();
    return image;
}

QImage CursorMarker() {
    QImage image(64, 6, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient bar(0.0, 0.0, 0.0, 6.0);
    bar.setColorAt(0.0, QColor(0xff, 0xc0, 0x70));
    bar.setColorAt(0.35, QColor(0xff, 0x8c, 0x1a));
    bar.setColorAt(1.0, QColor(0xd0, 0x5c, 0x00));
    painter.fillRect(image.rect(), bar);
    painter.end();
    return image;
}

}  // namespace orvane::pictures
