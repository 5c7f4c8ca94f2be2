#include "app/core/StartupTrace.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <sys/resource.h>

namespace orvane {

namespace {

double Milliseconds(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

}  // namespace

bool StartupTrace::Enabled() {
    static const bool enabled = [] {
        const char* value = std::getenv("ORVANE_STARTUP_TRACE");
        return value != nullptr && *value != '\0';
    }();
    return enabled;
}

void StartupTrace::Mark(const char* phase) {
    Mark(phase, -1);
}

void StartupTrace::Mark(const char* phase, int number) {
    if (!Enabled()) {
        return;
    }
    static const double first = [] {
        const double now = Milliseconds(CLOCK_MONOTONIC);
        // The clock's own reading once, so that the marks can be set beside times taken outside
        // the process (for example when the display server maps the window).
        std::fprintf(stderr, "startup trace begins at %.1f ms of the monotonic clock\n", now);
        return now;
    }();
    const double wall = Milliseconds(CLOCK_MONOTONIC) - first;
    const double cpu = Milliseconds(CLOCK_PROCESS_CPUTIME_ID);
    const double thread = Milliseconds(CLOCK_THREAD_CPUTIME_ID);
    // Pages the process has faulted in so far: on a virtual machine each costs microseconds.
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    if (number >= 0) {
        std::fprintf(stderr, "startup %8.1f ms wall %8.1f ms cpu %8.1f ms ui %6ld faults  %s %d\n", wall,
                     cpu, thread, usage.ru_minflt, phase, number);
    } else {
        std::fprintf(stderr, "startup %8.1f ms wall %8.1f ms cpu %8.1f ms ui %6ld faults  %s\n", wall,
                     cpu, thread, usage.ru_minflt, phase);
    }
}

}  // namespace orvane
