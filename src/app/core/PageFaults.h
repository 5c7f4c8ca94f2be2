#pragma once

#include <cstdint>

namespace orvane {

// Faults in the pages from `from` to `to` (rounded out to whole pages) as if each had been
// written, without writing anything: their contents stay as they are, and another thread may be
// using them meanwhile. One call costs about a microsecond a page here, where a page fault costs
// 11 to 15. False when the system cannot (kernels before 5.14) or the range is not mapped
// writable.
bool FaultInWritable(std::uintptr_t from, std::uintptr_t to);

}  // namespace orvane
