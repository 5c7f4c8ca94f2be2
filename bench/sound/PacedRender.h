#pragma once

#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "sound/core/OfflineOutput.h"

namespace bench {

// Renders an offline output one buffer per buffer period from its own thread, like a sound
// card, and keeps the steady time at which each buffer was produced, so that any frame can be
// turned into the time it was output. Holds at most `maxBuffers` buffers' times; it stops
// rendering after that many.
class PacedRender {
public:
    using Clock = std::chrono::steady_clock;

    PacedRender(orvane::OfflineOutput& output, std::int64_t maxBuffers)
        : output_(output), times_(static_cast<std::size_t>(maxBuffers)) {}
    ~PacedRender() { Stop(); }
    PacedRender(const PacedRender&) = delete;
    PacedRender& operator=(const PacedRender&) = delete;

    void Start() {
        running_ = true;
        thread_ = std::thread([this] {
            // A sound card's callback thread runs with real-time priority where the system
            // allows it; so does this one (it keeps its normal priority otherwise).
            sched_param param{};
            param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
            realTime_ = pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
            const int frames = output_.BufferFrames();
            const auto period = std::chrono::nanoseconds(std::int64_t{frames} * 1'000'000'000 /
                                                         output_.SampleRate());
            auto next = Clock::now();
            start_.store(next.time_since_epoch().count());
            std::int64_t buffer = 0;
            const auto count = static_cast<std::int64_t>(times_.size());
            while (running_.load() && buffer < count) {
                std::this_thread::sleep_until(next);
                const auto now = Clock::now();
                // Frames are counted from the output's first buffer.
                if (buffer == 0) {
                    firstFrame_.store(output_.FramesRendered());
                }
                times_[static_cast<std::size_t>(buffer)].store(now.time_since_epoch().count());
                output_.RenderBuffer(frames, now);
                rendered_.store(++buffer);
                next += period;
            }
        });
    }
    void Stop() {
        running_ = false;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    // The time at which `frame` was output, or nothing when it has not been yet.
    std::optional<Clock::time_point> TimeOfFrame(std::int64_t frame) const {
        const int frames = output_.BufferFrames();
        const std::int64_t since = frame - firstFrame_.load();
        const std::int64_t buffer = since / frames;
        if (since < 0 || buffer >= rendered_.load()) {
            return std::nullopt;
        }
        const Clock::duration start(times_[static_cast<std::size_t>(buffer)].load());
        const auto offset =
            std::chrono::nanoseconds((since % frames) * 1'000'000'000 / output_.SampleRate());
        return Clock::time_point(start) + offset;
    }
    // The frame (counted from the first buffer) the output was playing at `time`: a sound card
    // plays its frames at its own steady rate, whenever the callback that filled them ran;
    // these frames are due at the start + frame / rate, which the render thread keeps to on
    // average. Nothing before the first buffer.
    std::optional<double> FrameAt(Clock::time_point time) const {
        if (rendered_.load() == 0) {
            return std::nullopt;
        }
        const Clock::time_point start{Clock::duration(start_.load())};
        return std::chrono::duration<double>(time - start).count() * output_.SampleRate();
    }
    // True once the render thread got real-time priority.
    bool RealTime() const { return realTime_.load(); }

private:
    orvane::OfflineOutput& output_;
    std::atomic<bool> realTime_{false};
    std::atomic<std::int64_t> firstFrame_{0};
    std::vector<std::atomic<Clock::rep>> times_;
    std::atomic<Clock::rep> start_{0};
    std::atomic<std::int64_t> rendered_{0};
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace bench
