#include "app/ui/TImage.h"

#include "app/core/PictureFile.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

#include <utility>

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
    pending_ = nullptr;
    image_ = image;
    Refresh();
}

void TImage::SetPictureFile(const QString& path) {
    SetPictureLoader([path] { return ReadPictureFile(path); });
}

void TImage::SetPictureLoader(std::function<QImage()> load) {
    image_ = QImage();
    pending_ = std::move(load);
    if (isVisible()) {
        ReadPendingPicture();
    }
    Refresh();
}

const QImage& TImage::Picture() const {
    if (ReadPendingPicture()) {
        // Shown the next time the control is painted; a hidden control has nothing to refresh.
        const_cast<TImage*>(this)->Refresh();
    }
    return image_;
}

bool TImage::ReadPendingPicture() const {
    if (!pending_) {
        return false;
    }
    const std::function<QImage()> load = std::exchange(pending_, nullptr);
    image_ = load();
    return true;
}

void TImage::showEvent(QShowEvent* event) {
    if (ReadPendingPicture() || (stretch_ && pixmap().isNull() && !image_.isNull())) {
        Refresh();
    }
    QLabel::showEvent(event);
}

void TImage::SetInPlace(bool inPlace) {
    inPlace_ = inPlace;
    Refresh();
}

void TImage::PictureChanged(const QRegion& area) {
    UpdateOpaque();
    update(area);
}

void TImage::UpdateOpaque() {
    // A picture that covers the whole control hides whatever lies beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, inPlace_ && !image_.isNull() &&
                                              image_.width() >= width() && image_.height() >= height() &&
                                              !image_.hasAlphaChannel());
}

void TImage::paintEvent(QPaintEvent* event) {
    if (!inPlace_) {
        QLabel::paintEvent(event);
        return;
    }
    if (image_.isNull()) {
        return;
    }
    QPainter painter(this);
    for (const QRect& rect : event->region()) {
        const QRect part = rect.intersected(image_.rect());
        if (!part.isEmpty()) {
            painter.drawImage(part.topLeft(), image_, part);
        }
    }
}

void TImage::Refresh() {
    if (inPlace_) {
        if (!pixmap().isNull()) {
            clear();
        }
        UpdateOpaque();
        update();
        return;
    }
    if (image_.isNull()) {
        clear();
        return;
    }
    if (stretch_ && !isVisible()) {
        // Scaled when shown, at the size the layout has given it by then: a hidden control
        // that is resized several times on the way is not scaled each time.
        if (!pixmap().isNull()) {
            clear();
        }
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
    UpdateOpaque();
    if (stretch_) {
        Refresh();
    }
}

}  // namespace orvane
