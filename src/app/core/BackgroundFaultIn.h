#pragma once

#include <cstddef>
#include <cstdint>
#include <thread>

namespace orvane {

// Faults in the pages of a range of writable memory on a thread of its own, as if each had been
// written, without writing anything: the contents stay as they are, and the caller may use the
// range meanwhile. On this kind of virtual machine one call costs about a microsecond a page,
// where a page fault costs 11 to 15.
//
// Nothing happens (Bytes() is 0) when the system cannot fault a range in at once (kernels before
// 5.14) or the range is not mapped writable: one page is tried before a thread is started.
//
// Threads: construct and destroy on one thread; the destructor waits for the thread.
class BackgroundFaultIn {
  public:
    // Addresses from `from` to `to`; empty when `to` is not above `from`.
    struct Range {
        std::uintptr_t from = 0;
        std::uintptr_t to = 0;
    };

    // The range rounded out to whole pages; an empty range does nothing.
    explicit BackgroundFaultIn(Range range);
    ~BackgroundFaultIn();
    BackgroundFaultIn(const BackgroundFaultIn&) = delete;
    BackgroundFaultIn& operator=(const BackgroundFaultIn&) = delete;

    // Waits until the range is faulted in. Idempotent.
    void Wait();
    // The bytes being faulted in, whole pages.
    std::size_t Bytes() const { return bytes_; }

  private:
    std::size_t bytes_ = 0;
    std::thread thread_;
};

}  // namespace orvane
