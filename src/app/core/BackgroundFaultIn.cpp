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

BackgroundFaultIn::BackgroundFaultIn(Range range) {
    if (range.to <= range.from) {
        return;
    }
    const std::uintptr_t pageSize = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t from = range.from & ~(pageSize - 1);
    const std::uintptr_t to = (range.to + pageSize - 1) & ~(pageSize - 1);
    if (!FaultInWritable(from, from + pageSize)) {
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
