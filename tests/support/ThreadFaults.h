#pragma once

#include <sys/resource.h>

// The page faults the calling thread has taken so far (those served without reading a disk).
inline long ThreadFaults() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}
