#pragma once

#include "score/core/ScorePrimitive.h"

#include <QImage>
#include <QRegion>

class QPainter;

namespace orvane {

// Draws score primitives with exact pixel coverage (no antialiasing), in list order, with the
// meaning ScorePrimitive gives each kind. Runs on the thread that owns the paint device.
class ScorePainter {
  public:
    // Draws onto an active painter. The painter's pen, brush and render hints are saved and
    // restored; its transform is used as it is (identity for pixel-exact results).
    static void Paint(QPainter& painter, const ScorePrimitives& primitives);
    // Draws onto an image (for example a score image of the current client size).
    static void Paint(QImage& image, const ScorePrimitives& primitives);
    // The same, changing only the pixels inside `area`; they become exactly what drawing the
    // whole list gives there.
    static void Paint(QImage& image, const ScorePrimitives& primitives, const QRegion& area);
    // A new Format_RGB32 image of the given size (at least 1 x 1), white, then drawn with the
    // primitives (which normally begin with a Fill of the whole image).
    static QImage Render(int width, int height, const ScorePrimitives& primitives);
};

}  // namespace orvane
