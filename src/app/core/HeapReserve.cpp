#include "app/core/HeapReserve.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace orvane {

namespace {

std::uintptr_t HeapTop() {
    return reinterpret_cast<std::uintptr_t>(::sbrk(0));
}

// Sets the allocator up and grows the heap by `bytes`: the range of whole pages it grew by.
BackgroundFaultIn::Range GrowHeap(std::size_t bytes) {
    if (bytes == 0) {
        return {};
    }
    // A freed block at the top of the heap would otherwise be handed back to the system once the
    // top exceeds 128 KB, and the next block faulted in again page by page.
    ::mallopt(M_MMAP_THRESHOLD, int(HeapReserve::kLargeBlockBytes));
    ::mallopt(M_TRIM_THRESHOLD, int(bytes + HeapReserve::kLargeBlockBytes));
    const std::uintptr_t pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t before = HeapTop();
    // Grows the heap by `bytes`; freed at once, the block joins the free top of the heap.
    void* block = std::malloc(bytes);
    std::free(block);
    if (block == nullptr) {
        return {};
    }
    // The whole pages between the old and the new top: the page below the old top is in use,
    // and nothing is mapped beyond the new one.
    return {(before + pageSize - 1) & ~(pageSize - 1), HeapTop() & ~(pageSize - 1)};
}

}  // namespace

// The window thread may already be using the range's first pages meanwhile.
HeapReserve::HeapReserve(std::size_t bytes) : BackgroundFaultIn(GrowHeap(bytes)) {}

}  // namespace orvane
