#include "app/core/WindowBounds.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

const QSize kMinimum(780, 580);
const QRect kScreen(0, 0, 1280, 800);
const QRect kWorkArea(0, 28, 1280, 772);  // a panel on top
const QMargins kFrame(4, 30, 4, 4);

QRect OuterOf(const QRect& client) {
    return client.marginsAdded(kFrame);
}

}  // namespace

// The default settings store the work area as the bounds: with a frame the client area has to
// shrink by the frame, or the bottom row of the window falls off the screen.
TEST(FitWindowBounds, KeepsTheFramedWindowInsideTheWorkArea) {
    const QRect client = FitWindowBounds(QPoint(0, 0), QSize(1280, 772), kFrame, kWorkArea, kMinimum);
    EXPECT_EQ(OuterOf(client), kWorkArea);
    EXPECT_EQ(client, QRect(4, 58, 1272, 738));

    // Bounds stored on a larger screen, or dragged partly off it, come back inside.
    for (const QRect& stored : {QRect(-300, -50, 900, 640), QRect(900, 600, 900, 640),
                                QRect(0, 0, 1920, 1200), QRect(5000, 5000, 100, 100)}) {
        const QRect outer = OuterOf(FitWindowBounds(stored.topLeft(), stored.size(), kFrame, kWorkArea, kMinimum));
        EXPECT_TRUE(kWorkArea.contains(outer))
            << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height();
    }
}

TEST(FitWindowBounds, KeepsBoundsThatFitAndTheMinimumClientSize) {
    // Left and Top place the frame, Width and Height are the client's: kept as they are.
    EXPECT_EQ(FitWindowBounds(QPoint(100, 120), QSize(900, 640), kFrame, kWorkArea, kMinimum),
              QRect(104, 150, 900, 640));
    EXPECT_EQ(FitWindowBounds(QPoint(100, 120), QSize(900, 640), QMargins(), kScreen, kMinimum),
              QRect(100, 120, 900, 640));
    // Too small: the minimum client size wins, moved in where needed.
    EXPECT_EQ(FitWindowBounds(QPoint(1200, 700), QSize(10, 10), QMargins(), kScreen, kMinimum),
              QRect(500, 220, 780, 580));
    // A screen smaller than the minimum: the top left corner of the area.
    EXPECT_EQ(FitWindowBounds(QPoint(50, 50), QSize(800, 600), kFrame, QRect(10, 20, 640, 480), kMinimum),
              QRect(14, 50, 780, 580));
}
