#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace orvane {

// Where the main window goes at start. The stored bounds (settings section Form) are written as
// the window reports them: the position of its outer top left corner (frame included) and the
// size of its client area. The window manager's frame adds `frame` around the client area (all
// zero when there is no frame, or before the window manager has told it). The result is the
// client geometry such that the outer bounds lie inside `available` (the screen area left free
// by panels and docks): the size is cut to what fits, then the window is moved in from the
// edges it crosses. The client area never gets smaller than minimumClient; when even that does
// not fit, the window sits at the top left corner of `available`. Pure; any thread.
QRect FitWindowBounds(const QPoint& storedOuterTopLeft, const QSize& storedClient,
                      const QMargins& frame, const QRect& available, const QSize& minimumClient);

}  // namespace orvane
