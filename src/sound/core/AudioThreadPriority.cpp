#include "sound/core/AudioThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace orvane {

namespace {

// A real-time priority low in the range: above every ordinary thread, below the system's own
// real-time work.
constexpr int kRealTimeAboveMinimum = 10;
// The niceness an audio thread asks for when real time is not allowed.
constexpr int kAudioNiceness = -11;

}  // namespace

AudioThreadPriority RaiseAudioThreadPriority() {
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO) + kRealTimeAboveMinimum;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) {
        return AudioThreadPriority::kRealTime;
    }
    // Niceness is per thread on Linux: the thread's own id, not the process's.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    if (setpriority(PRIO_PROCESS, thread, kAudioNiceness) == 0) {
        return AudioThreadPriority::kRaised;
    }
    return AudioThreadPriority::kNormal;
}

}  // namespace orvane
