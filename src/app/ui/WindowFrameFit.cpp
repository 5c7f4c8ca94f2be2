#include "app/ui/WindowFrameFit.h"

#include "app/core/WindowBounds.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace orvane {

namespace {

constexpr qint64 kFrameWaitMs = 5000;

QMargins FrameOf(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

}  // namespace

QRect WindowFrameFit::AvailableArea(const QPoint& point) {
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect(-100000, -100000, 200000, 200000);
}

void WindowFrameFit::Place(QWidget& window, const QPoint& storedOuterTopLeft, const QSize& storedClient) {
    auto* fit = new WindowFrameFit(window, storedOuterTopLeft, storedClient);
    fit->Fit();
    if (window.isVisible() && !FrameOf(window).isNull()) {
        fit->deleteLater();  // the frame is known already: nothing to wait for
    }
}

WindowFrameFit::WindowFrameFit(QWidget& window, const QPoint& storedOuterTopLeft, const QSize& storedClient)
    : QObject(&window), window_(window), storedTopLeft_(storedOuterTopLeft), storedClient_(storedClient) {
    window.installEventFilter(this);
}

void WindowFrameFit::Fit() {
    window_.setGeometry(FitWindowBounds(storedTopLeft_, storedClient_, FrameOf(window_),
                                        AvailableArea(storedTopLeft_), window_.minimumSize()));
}

bool WindowFrameFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Show:
            sinceShown_.start();
            [[fallthrough]];
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Expose:
            if (!sinceShown_.isValid()) {
                break;
            }
            if (sinceShown_.elapsed() > kFrameWaitMs) {
                window_.removeEventFilter(this);
                deleteLater();
            } else if (!FrameOf(window_).isNull()) {
                window_.removeEventFilter(this);
                Fit();
                deleteLater();
            }
            break;
        default:
            break;
    }
    return false;
}

}  // namespace orvane
