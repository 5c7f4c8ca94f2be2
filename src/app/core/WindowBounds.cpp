#include "app/core/WindowBounds.h"

#include <algorithm>

namespace orvane {

namespace {

// The start of a span of length `size` inside [low, low + room), moved in from the edges it
// crosses; `low` when the span is longer than the room.
int Inside(int start, int size, int low, int room) {
    if (size >= room) {
        return low;
    }
    return std::clamp(start, low, low + room - size);
}

}  // namespace

QRect FitWindowBounds(const QPoint& storedOuterTopLeft, const QSize& storedClient,
                      const QMargins& frame, const QRect& available, const QSize& minimumClient) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QRect storedOuter(storedOuterTopLeft,
                            QSize(storedClient.width() + frameWidth, storedClient.height() + frameHeight));
    const int minWidth = minimumClient.width() + frameWidth;
    const int minHeight = minimumClient.height() + frameHeight;
    const int width = std::max(std::min(storedOuter.width(), available.width()), minWidth);
    const int height = std::max(std::min(storedOuter.height(), available.height()), minHeight);
    const int left = Inside(storedOuter.left(), width, available.left(), available.width());
    const int top = Inside(storedOuter.top(), height, available.top(), available.height());
    return QRect(left + frame.left(), top + frame.top(), width - frameWidth, height - frameHeight);
}

}  // namespace orvane
