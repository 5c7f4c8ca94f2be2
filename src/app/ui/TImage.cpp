#include "app/ui/TImage.h"

#include <QMouseEvent>
#include <QPixmap>

namespace orvane {

TImage::TImage(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    Refresh();
}

void TImage::SetPicture(const QImage& image) {
    image_ = image;
    Refresh();
}

void TImage::Refresh() {
    if (image_.isNull()) {
        clear();
        return;
    }
    if (stretch_ && width() > 0 && height() > 0) {
        // Scaled to the device pixels the control covers, so that a screen of a higher pixel
        // density gets the picture's detail rather than an enlarged small copy.
        const qreal ratio = devicePixelRatioF();
        QImage scaled = image_.scaled((QSizeF(size()) * ratio).toSize(), Qt::IgnoreAspectRatio,
                                      Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        setPixmap(QPixmap::fromImage(scaled));
    } else {
        // A picture drawn at the screen's pixel ratio carries that ratio and shows at its
        // logical size.
        setPixmap(QPixmap::fromImage(image_));
    }
}

void TImage::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    emit Pressed(event->button());
    QLabel::mousePressEvent(event);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit Clicked();
    }
}

void TImage::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (stretch_) {
        Refresh();
    }
}

}  // namespace orvane
