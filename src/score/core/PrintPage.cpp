#include "score/core/PrintPage.h"

#include <QFileInfo>
#include <QFont>
#include <QPainter>

namespace orvane {

namespace {


// Writes text with its top left corner at (x, y).
void WriteAt(QPainter& painter, int x, int y, const QString& text) {
    const QRect box(x, y, qMax(1, painter.device()->width() - x), painter.fontMetrics().height());
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

qint64 MulDivRound(qint64 a, qint64 b, qint64 c) {
    const qint64 product = a * b;
    qint64 quotient = product / c;
    const qint64 twiceRest = 2 * (product % c);
    if (twiceRest > c || (twiceRest == c && (quotient % 2) != 0)) {
        ++quotient;
    }
    return quotient;
}

QSize FitToPage(QSize picture, QSize printable) {
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    const qint64 pw = printable.width();
    const qint64 ph = printable.height();
    if (w <= 0 || h <= 0 || pw <= 0 || ph <= 0) {
        return {};
    }
    if (static_cast<double>(w) / static_cast<double>(h) >
        static_cast<double>(pw) / static_cast<double>(ph)) {
        return QSize(static_cast<int>(pw), static_cast<int>(MulDivRound(h, pw, w)));
    }
    return QSize(static_cast<int>(MulDivRound(w, ph, h)), static_cast<int>(ph));
}

QString PrintTitleText(const QString& chimeName, int pageCount, int page) {
    QString title = QStringLiteral("Orvane 1.0 beta 2: ");
    if (!chimeName.isEmpty()) {
        title += u'"' + chimeName + QStringLiteral("\" ");
    }
    if (pageCount > 1) {
        title += QStringLiteral("(Page %1)").arg(page + 1);
    }
    return title;
}

QString PrintGroupLabel(int group, const QString& chimeName) {
    static const char* const kLabels[] = {"Small bells: ", "Medium-size bells: ", "Great bells: "};
    return QString::fromLatin1(kLabels[qBound(0, group, 2)]) + chimeName;
}

QImage WithTransparentColor(const QImage& image, QColor color) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = color.rgb() & 0x00FFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0x00FFFFFF) == key) {
                line[x] = 0;
            }
        }
    }
    return out;
}

QImage ComposePrintPage(int width, const QString& title, const std::array<PrintStaff, 3>& staves,
                        QColor background) {
    int height = kPrintExtraHeight;
    for (const PrintStaff& staff : staves) {
        height += qMax(0, staff.panelSize.height());
    }
    QImage page(qMax(1, width), height, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    QFont font = painter.font();
    font.setPointSize(kPrintFontPointSize);
    painter.setFont(font);
    painter.setPen(Qt::black);
    WriteAt(painter, kPrintLeft, kPrintTitleTop, title);
    int y = 0;
    for (const PrintStaff& staff : staves) {
        WriteAt(painter, kPrintLeft, y + kPrintLabelTop, staff.label);
        if (!staff.panelSize.isEmpty()) {
            // The staff panel's client area; whatever the score image does not cover counts as
            // background.
            QImage cut(staff.panelSize, QImage::Format_RGB32);
            cut.fill(background);
            if (!staff.image.isNull()) {
                QPainter copy(&cut);
                copy.drawImage(0, 0, staff.image);
            }
            painter.drawImage(kPrintLeft, y + kPrintStaffTop, WithTransparentColor(cut, background));
        }
        y += qMax(0, staff.panelSize.height()) + kPrintStaffGap;
    }
    return page;
}

QString JobOutputFile(const QString& chosen, int page, int jobCount) {
    if (jobCount <= 1 || chosen.isEmpty()) {
        return chosen;
    }
    const QFileInfo info(chosen);
    const QString suffix = info.suffix();
    const QString number = QStringLiteral("-%1").arg(page + 1);
    if (suffix.isEmpty()) {
        return chosen + number;
    }
    return chosen.left(chosen.size() - suffix.size() - 1) + number + u'.' + suffix;
}

}  // namespace orvane
