#pragma once

#include <atomic>
#include <exception>

namespace orvane {

// Runs a handler or a start-up step and swallows any exception it throws, keeping the state
// reached so far. Every swallowed exception is counted so that tests can assert that nothing
// was hidden. Safe on any thread.
class GuardLog {
public:
    static int Swallowed() { return count_.load(); }
    static void Reset() { count_.store(0); }
    static void Record() { count_.fetch_add(1); }

private:
    static inline std::atomic<int> count_{0};
};

template <class F>
void Guarded(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        GuardLog::Record();
    }
}

}  // namespace orvane
