#pragma once

#include <QImage>
#include <QLabel>

#include <functional>

namespace orvane {

// A picture control: shows an image, stretched to its size or centred, and reports clicks.
class TImage : public QLabel {
    Q_OBJECT

public:
    TImage(const QString& name, QWidget* parent);

    void SetStretch(bool stretch);
    void SetPicture(const QImage& image);
    // The picture in the file at `path`, read when the control is first shown or its picture is
    // first asked for, whichever comes first: a start does not pay for pictures that stay
    // hidden. A file that is missing or cannot be read leaves the control without a picture.
    void SetPictureFile(const QString& path);
    // The same for a picture made by `load` (called once, on the user-interface thread).
    void SetPictureLoader(std::function<QImage()> load);
    const QImage& Picture() const;
    bool HasPicture() const { return !Picture().isNull(); }
    // True while a picture file has been given and not read yet.
    bool PicturePending() const { return static_cast<bool>(pending_); }

    // In place: the control paints its picture itself, at its top left corner, without a copy
    // for the window system, and the picture may be changed where it is (EditPicture, then
    // PictureChanged with the area that changed). For pictures that are redrawn often.
    void SetInPlace(bool inPlace);
    // The picture, to be drawn into; call PictureChanged afterwards. In place only.
    QImage& EditPicture() {
        Picture();
        return image_;
    }
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
    void showEvent(QShowEvent* event) override;

private:
    void Refresh();
    void UpdateOpaque();
    // Reads a pending picture file into image_; true when it did.
    bool ReadPendingPicture() const;
    mutable QImage image_;
    mutable std::function<QImage()> pending_;
    bool stretch_ = false;
    bool inPlace_ = false;
    bool pressed_ = false;
};

}  // namespace orvane
