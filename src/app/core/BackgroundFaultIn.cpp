#include "app/core/BackgroundFaultIn.h"

#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

namespace orvane {

namespace {

bool FaultInWritable(std::uintptr_t from, std::uintptr_t to) {
    return ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE) == 0;
}

}  // namespace

BackgroundFaultIn::BackgroundFaultIn(std::uintptr_t from, std::uintptr_t to) {
    const std::uintptr_t pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    from &= ~(pageSize - 1);
    to = (to + pageSize - 1) & ~(pageSize - 1);
    if (to <= from || !FaultInWritable(from, from + pageSize)) {
        return;
    }
    bytes_ = std::size_t(to - from);
    thread_ = std::thread([from, to] { FaultInWritable(from, to); });
}

BackgroundFaultIn::~BackgroundFaultIn() {
    Wait();
}

void BackgroundFaultIn::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace orvane
