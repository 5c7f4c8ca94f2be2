#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

namespace orvane {

// Maps steady-clock time to the output's frame count. The audio thread reports, at the start of
// every buffer, the buffer's first frame and the time the output asked for it; a delay-locked
// loop (bandwidth 1 Hz) smooths the callback jitter into a steady line, which other threads read
// without locking. A report that does not continue the previous buffer, or that is off the line
// by more than 50 ms (a stall, an offline renderer), restarts the line.
class FrameClock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit FrameClock(int sampleRate);

    // Audio thread: the buffer of `frames` frames starting at `frame` was asked for at `time`.
    void OnBuffer(std::int64_t frame, int frames, TimePoint time);

    // Any thread: the frame the output is at at `time` (extrapolated from the last buffer), or
    // nothing before the first buffer.
    std::optional<std::int64_t> FrameAt(TimePoint time) const;

    // Any thread: the estimated length of a frame in nanoseconds.
    double NanosecondsPerFrame() const;

  private:
    void Publish(std::int64_t frame, double timeNs, double nsPerFrame);

    double nominalNsPerFrame_;
    // Audio-thread state of the loop.
    bool locked_ = false;
    std::int64_t expectedFrame_ = 0;
    double predictedNs_ = 0.0;  // predicted time of expectedFrame_
    double nsPerFrame_ = 0.0;

    // The published line, guarded by a sequence counter.
    std::atomic<std::uint32_t> sequence_{0};
    std::atomic<std::int64_t> anchorFrame_{0};
    std::atomic<double> anchorNs_{0.0};
    std::atomic<double> slopeNs_{0.0};
    std::atomic<bool> valid_{false};
};

}  // namespace orvane
