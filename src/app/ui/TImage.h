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

signals:
    void Clicked();
    void Pressed(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();
    QImage image_;
    bool stretch_ = false;
    bool pressed_ = false;
};

}  // namespace orvane
