#pragma once

#include "app/core/BackgroundFaultIn.h"

#include <cstddef>

namespace orvane {

// Readies the window thread's heap for the start, on a thread of its own.
//
// The first write to a page of fresh memory costs a page fault, and on a virtual machine a
// fault is dear: about 11 to 15 microseconds here, against about 1 microsecond a page when a
// whole range is faulted in at once (MADV_POPULATE_WRITE). Building and showing the window
// writes some 1,500 fresh pages of the heap and of large blocks, which made up about a fifth of
// the window thread's time before the window was mapped.
//
// So the process keeps large blocks (up to kLargeBlockBytes) in its heap instead of giving each
// its own mapping, and keeps freed memory at the top of the heap instead of handing it back; the
// heap is grown by `bytes` at once, and that range is faulted in beside the start. Only the
// program's entry uses this; it changes the allocator's settings for the whole process, so it
// comes before anything else allocates much.
//
// Threads: construct and destroy on one thread; destroying waits for the faulting-in.
class HeapReserve : public BackgroundFaultIn {
  public:
    // Blocks this large or larger get a mapping of their own, as the allocator does by default
    // with smaller ones: the largest pictures of the window (its back buffer, a page of the
    // score) stay below it.
    static constexpr std::size_t kLargeBlockBytes = std::size_t(32) << 20;

    explicit HeapReserve(std::size_t bytes);

    // The bytes of heap made ready (0 when the system cannot fault a range in at once: the
    // heap then grows page by page as before). Wait() waits until they are.
    std::size_t ReadyBytes() const { return Bytes(); }
};

}  // namespace orvane
