#include "sound/ui/KeyPlate.h"

#include <QPainter>

namespace orvane {

namespace {

constexpr QColor kPlate(20, 20, 20, 170);
constexpr qreal kCornerRadius = 3.0;
constexpr int kTextPixels = 10;
constexpr int kSidePadding = 2;

}  // namespace

KeyPlate::KeyPlate(QWidget* parent) : QLabel(parent) {
    QFont font = this->font();
    font.setPixelSize(kTextPixels);
    font.setBold(true);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    setContentsMargins(kSidePadding, 0, kSidePadding, 0);
}

void KeyPlate::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kPlate);
        painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    }
    QLabel::paintEvent(event);
}

}  // namespace orvane
