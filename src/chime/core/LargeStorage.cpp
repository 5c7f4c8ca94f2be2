#include "chime/core/LargeStorage.h"

#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace orvane {

void AdviseLargePages(const void* begin, qsizetype bytes) {
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    // The size of a large page on the usual Linux systems; only whole ones inside the storage.
    constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;
    if (!begin || bytes < qsizetype(2 * kLargePage)) {
        return;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (start + std::uintptr_t(bytes)) & ~(kLargePage - 1);
    if (last > first) {
        // Failure only means the advice is not taken.
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    Q_UNUSED(begin);
    Q_UNUSED(bytes);
#endif
}

}  // namespace orvane
