#pragma once

#include "app/core/BackgroundFaultIn.h"

class QWidget;

namespace orvane {

// Readies a shown window's back buffer for its first picture, on a thread of its own.
//
// The first picture of a window writes every page of its back buffer (4 MB for 1280 x 800),
// and each page written for the first time costs a page fault: about a thousand of them, some
// 14 ms here, in the middle of the first picture. Made at once (the back buffer is sized now
// rather than at the first paint, as it would be anyway) and faulted in beside the rest of the
// start, the first picture finds it ready.
//
// Threads: construct and destroy on the window's thread; destroying waits for the faulting-in.
// The window must outlive the object.
class BackBufferReserve : public BackgroundFaultIn {
  public:
    // Bytes() is 0 when the window has no back buffer in memory of its own (not shown yet, or
    // drawn by other means), or the system cannot fault a range in at once.
    explicit BackBufferReserve(QWidget& window);
};

}  // namespace orvane
