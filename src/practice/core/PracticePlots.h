#pragma once

#include "practice/core/PracticeHistory.h"
#include "practice/core/StrokeMatcher.h"

#include <QRectF>
#include <vector>

class QPainter;

namespace orvane {

// One hit of a pass on the error plot.
struct ErrorPoint {
    double seconds = 0.0;  // time of the note from the first step of the pass
    double errorMs = 0.0;  // signed error, positive: behind
    NoteResult result = NoteResult::OnTime;
};

// The hits of a decided pass, in step order, timed from step 0.
std::vector<ErrorPoint> ErrorPoints(const StrokeMatcher& matcher);

// The plots of the result window, drawn with QPainter into a rectangle of any paint device
// (a widget, an image, a printer). Axes carry ticks, numbers and units. Runs on the thread that
// owns the device.
class PracticePlots {
  public:
    // Signed error (ms, vertical, at least +-80 ms, more when a point lies further) against time
    // (s, horizontal, 0 to `duration`), the band of +-20 ms shaded, a point per hit in the
    // colour and shape of its class.
    static void PaintErrors(QPainter& painter, const QRectF& area, const std::vector<ErrorPoint>& points,
                            double durationSeconds);
    // Progress over passes (horizontal: pass number, oldest first): the mean signed error with
    // its standard deviation as a bar (ms, left axis) and the share of hits within 20 ms (%,
    // right axis). At most the last `maxPasses` records are drawn.
    static void PaintProgress(QPainter& painter, const QRectF& area, const std::vector<PracticeRecord>& passes,
                              int maxPasses = 30);
    // A round number step near range / targetTicks (1, 2 or 5 times a power of ten).
    static double NiceStep(double range, int targetTicks);
};

}  // namespace orvane
