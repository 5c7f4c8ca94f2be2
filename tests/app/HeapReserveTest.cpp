// The heap readied for the start: what the window thread then writes of it, small blocks and
// large, comes without a page fault per page.

#include "app/core/HeapReserve.h"
#include "support/ThreadFaults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

using namespace orvane;

namespace {

// Allocates `bytes` in blocks of `block` bytes and writes every byte; gives the page faults this
// thread took for it.
long FaultsToWrite(std::size_t bytes, std::size_t block, std::vector<void*>& blocks) {
    const long before = ThreadFaults();
    for (std::size_t done = 0; done < bytes; done += block) {
        void* p = std::malloc(block);
        EXPECT_NE(p, nullptr);
        std::memset(p, 0x5a, block);
        blocks.push_back(p);
    }
    return ThreadFaults() - before;
}

constexpr std::size_t kMb = std::size_t(1) << 20;

}  // namespace

TEST(HeapReserve, SmallAndLargeBlocksComeFromTheReadiedHeapWithoutAFaultPerPage) {
    HeapReserve reserve(16 * kMb);
    reserve.Wait();
    if (reserve.ReadyBytes() == 0) {
        GTEST_SKIP() << "this kernel cannot fault a range in at once";
    }
    EXPECT_GE(reserve.ReadyBytes(), 15 * kMb);

    std::vector<void*> blocks;
    // 4 MB in blocks of a widget's size, then 4 MB in picture-sized blocks (above the allocator's
    // default threshold for a mapping of their own): 2,048 pages written, each a fault without
    // the reserve.
    const long small = FaultsToWrite(4 * kMb, 200, blocks);
    const long large = FaultsToWrite(4 * kMb, kMb, blocks);
    EXPECT_LT(small, 64);
    EXPECT_LT(large, 64);

    // Freed and taken again: the memory stays with the heap instead of being handed back.
    for (void* p : blocks) {
        std::free(p);
    }
    blocks.clear();
    EXPECT_LT(FaultsToWrite(8 * kMb, 2 * kMb, blocks), 64);
    for (void* p : blocks) {
        std::free(p);
    }
}
