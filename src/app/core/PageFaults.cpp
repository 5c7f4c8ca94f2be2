#include "app/core/PageFaults.h"

#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

namespace orvane {

bool FaultInWritable(std::uintptr_t from, std::uintptr_t to) {
    const std::uintptr_t pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    from &= ~(pageSize - 1);
    to = (to + pageSize - 1) & ~(pageSize - 1);
    return to > from && ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE) == 0;
}

}  // namespace orvane
