#include "app/ui/ProgramStyle.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace orvane {

ProgramStyle::ProgramStyle() = default;

QIcon ProgramStyle::DrawnIcon(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QIcon ProgramStyle::ExtensionIcon(bool horizontal, const QColor& colour) {
    return DrawnIcon([&](QPainter& p) {
        if (!horizontal) {
            // The vertical glyph points down: the horizontal one turned a quarter clockwise.
            p.translate(16, 0);
            p.rotate(90);
        }
        p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const qreal left : {4.5, 8.5}) {
            const QPointF chevron[3] = {{left, 4.5}, {left + 3.5, 8.0}, {left, 11.5}};
            p.drawPolyline(chevron, 3);
        }
    });
}

QIcon ProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (standardIcon == SP_ToolBarHorizontalExtensionButton ||
        standardIcon == SP_ToolBarVerticalExtensionButton) {
        const QPalette palette = widget ? widget->palette() : QApplication::palette();
        return ExtensionIcon(standardIcon == SP_ToolBarHorizontalExtensionButton,
                             palette.color(QPalette::ButtonText));
    }
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

}  // namespace orvane
