#pragma once

#include <QImage>
#include <QLabel>

namespace orvane {

// A picture control: shows an image, stretched to its size or centred, and reports clicks.
class TImage : public QLabel {
    Q_OBJECT

public:
    TImage(const QString& name, QWidget* parent);

    void SetStretch(bool stretch);
    void SetPicture(const QImage& image);
    const QImage& Picture() const { return image_; }
    bool HasPicture() const { return !image_.isNull(); }

    // In place: the control paints its picture itself, at its top left corner, without a copy
    // for the window system, and the picture may be changed where it is (EditPicture, then
    // PictureChanged with the area that changed). For pictures that are redrawn often.
    void SetInPlace(bool inPlace);
    // The picture, to be drawn into; call PictureChanged afterwards. In place only.
    QImage& EditPicture() { return image_; }
    // Shows what changed in `area` of the picture (all of it when it changed size).
    void PictureChanged(const QRegion& area);

signals:
    void Clicked();
    void Pressed(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Refresh();
    void UpdateOpaque();
    QImage image_;
    bool stretch_ = false;
    bool inPlace_ = false;
    bool pressed_ = false;
};

}  // namespace orvane
