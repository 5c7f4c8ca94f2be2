#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace orvane {

// Keeps a top-level window, frame included, inside the available screen area at start. Place()
// fits the stored bounds (outer top left corner, client size) at once with the frame known so far (none before the first
// showing); then, because the window manager tells the frame only after it has framed the
// window, the fit is done once more when the frame first becomes known, within a few seconds of
// the showing. The object lives as a child of the window and deletes itself when done. Runs on
// the user-interface thread.
class WindowFrameFit : public QObject {
    Q_OBJECT

public:
    static void Place(QWidget& window, const QPoint& storedOuterTopLeft, const QSize& storedClient);

    // The available area of the screen that holds `point`, else of the primary screen; an
    // unbounded area when there is no screen.
    static QRect AvailableArea(const QPoint& point);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowFrameFit(QWidget& window, const QPoint& storedOuterTopLeft, const QSize& storedClient);
    void Fit();

    QWidget& window_;
    QPoint storedTopLeft_;
    QSize storedClient_;
    QElapsedTimer sinceShown_;
};

}  // namespace orvane
