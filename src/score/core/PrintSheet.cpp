#include "score/core/PrintSheet.h"

#include "score/core/PrintPage.h"
#include "score/core/ScorePainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace orvane {

namespace {

// The resolution of a page picture: a QImage counts 96 dots per inch.
constexpr double kPictureDpi = 96.0;

// The primitives with the background colour turned white: what the page picture leaves out
// shows the white paper.
ScorePrimitives OnWhite(const ScorePrimitives& primitives, QColor background) {
    ScorePrimitives out = primitives;
    const QRgb key = background.rgb();
    for (ScorePrimitive& p : out) {
        if (p.color.rgb() == key) {
            p.color = Qt::white;
        }
        if (p.fill.rgb() == key) {
            p.fill = Qt::white;
        }
    }
    return out;
}

// Writes text with its top left corner at (x, y) in picture pixels.
void WriteAt(QPainter& painter, const QFont& font, int x, int y, const QString& text) {
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
}

}  // namespace

QSize PrintSheet::Size() const {
    int height = kPrintExtraHeight;
    int w = width;
    for (const PrintSheetStaff& staff : staves) {
        height += qMax(0, staff.panelSize.height());
        w = qMax(w, kPrintLeft + staff.panelSize.width() + kPrintLeft);
    }
    return QSize(qMax(1, w), height);
}

void PrintSheet::Paint(QPainter& painter) const {
    painter.save();
    // A font of 8 points on a 96 dpi picture, whatever the resolution of the device.
    QFont font = painter.font();
    const int deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    font.setPointSizeF(kPrintFontPointSize * kPictureDpi / qMax(1, deviceDpi));
    painter.setFont(font);
    painter.setPen(Qt::black);
    WriteAt(painter, font, kPrintLeft, kPrintTitleTop, title);
    int y = 0;
    for (const PrintSheetStaff& staff : staves) {
        painter.setPen(Qt::black);
        WriteAt(painter, font, kPrintLeft, y + kPrintLabelTop, staff.label);
        if (!staff.panelSize.isEmpty()) {
            painter.save();
            painter.translate(kPrintLeft, y + kPrintStaffTop);
            // A primitive covers the pixels its geometry names (a line at x covers the column
            // [x, x + 1)); drawn as vector graphics it is centred on that geometry, so the cut
            // to the panel's pixels lies half a pixel up and left.
            painter.setClipRect(QRectF(QPointF(-0.5, -0.5), QSizeF(staff.panelSize)),
                                Qt::IntersectClip);
            ScorePainter::Paint(painter, OnWhite(staff.primitives, background));
            painter.restore();
        }
        y += qMax(0, staff.panelSize.height()) + kPrintStaffGap;
    }
    painter.restore();
}

QRect PrintSheet::PaintToFit(QPainter& painter, QSize printable) const {
    const QSize size = Size();
    const QRect target(QPoint(0, 0), FitToPage(size, printable));
    if (target.isEmpty()) {
        return target;
    }
    painter.save();
    painter.scale(static_cast<double>(target.width()) / size.width(),
                  static_cast<double>(target.height()) / size.height());
    Paint(painter);
    painter.restore();
    return target;
}

}  // namespace orvane
