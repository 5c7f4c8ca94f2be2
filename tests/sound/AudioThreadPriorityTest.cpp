#include <gtest/gtest.h>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>

#include "sound/core/AudioThreadPriority.h"

namespace orvane {
namespace {

// Whatever the system permits, the answer tells what the calling thread now has, and only that
// thread is changed (niceness is per thread: raising the process would raise the window too).
TEST(AudioThreadPriority, RaisesTheCallingThreadOnlyAndSaysHowFar) {
    const int mainNice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    int policy = -1;
    int nice = 0;
    AudioThreadPriority got = AudioThreadPriority::kNormal;
    std::thread audio([&] {
        got = RaiseAudioThreadPriority();
        sched_param param{};
        pthread_getschedparam(pthread_self(), &policy, &param);
        nice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    });
    audio.join();
    switch (got) {
        case AudioThreadPriority::kRealTime:
            EXPECT_EQ(policy, SCHED_FIFO);
            break;
        case AudioThreadPriority::kRaised:
            EXPECT_EQ(policy, SCHED_OTHER);
            EXPECT_LT(nice, mainNice);
            break;
        case AudioThreadPriority::kNormal:
            EXPECT_EQ(policy, SCHED_OTHER);
            EXPECT_EQ(nice, mainNice);
            break;
    }
    int mainPolicy = -1;
    sched_param mainParam{};
    pthread_getschedparam(pthread_self(), &mainPolicy, &mainParam);
    EXPECT_EQ(mainPolicy, SCHED_OTHER);
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))), mainNice);
}

}  // namespace
}  // namespace orvane
