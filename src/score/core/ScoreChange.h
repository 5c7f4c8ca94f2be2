#pragma once

#include "score/core/ScorePrimitive.h"

#include <QRegion>
#include <QSize>

namespace orvane {

// Where a staff picture changes when the primitives `before` (already drawn on an image of
// `size`) are replaced by `after`. Drawing `after` clipped to that area onto the picture of
// `before` gives, pixel for pixel, the picture of `after` drawn whole.
//
// The primitives common to both lists in the same order (a common subsequence, found greedily)
// keep their pixels; the pixels of every other primitive, of either list, lie inside the area.
// The area is made of beat columns (a sixteenth of the width each): a run of neighbouring
// columns that change is one rectangle, as high as the changes in the run, so that the painter
// clips to a few rectangles and the window system receives a few requests. Pure computation on
// the caller's thread.
class ScoreChange {
  public:
    static constexpr int kBands = 16;

    static QRegion Area(const ScorePrimitives& before, const ScorePrimitives& after, QSize size);
    // The pixels a primitive may touch (conservative for lines: their caps and width included).
    static QRect Bounds(const ScorePrimitive& primitive);
};

}  // namespace orvane
