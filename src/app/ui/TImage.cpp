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
        setPixmap(QPixmap::fromImage(image_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    } else {
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
