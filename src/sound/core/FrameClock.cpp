#include "sound/core/FrameClock.h"

#include <cmath>

namespace orvane {

namespace {

constexpr double kBandwidthHz = 1.0;
constexpr double kRelockNs = 50e6;
constexpr double kPi = 3.14159265358979323846;

double ToNs(FrameClock::TimePoint time) {
    return static_cast<double>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
}

}  // namespace

FrameClock::FrameClock(int sampleRate)
    : nominalNsPerFrame_(1e9 / static_cast<double>(sampleRate > 0 ? sampleRate : 48000)) {}

void FrameClock::OnBuffer(std::int64_t frame, int frames, TimePoint time) {
    const double now = ToNs(time);
    const double error = now - predictedNs_;
    if (!locked_ || frame != expectedFrame_ || std::abs(error) > kRelockNs || frames <= 0) {
        locked_ = frames > 0;
        nsPerFrame_ = nominalNsPerFrame_;
        expectedFrame_ = frame + frames;
        predictedNs_ = now + frames * nsPerFrame_;
        Publish(frame, now, nsPerFrame_);
        return;
    }
    const double omega = 2.0 * kPi * kBandwidthHz * frames * nsPerFrame_ * 1e-9;
    const double b = std::sqrt(2.0) * omega;
    const double c = omega * omega;
    const double filtered = predictedNs_ + b * error;
    nsPerFrame_ += c * error / frames;
    expectedFrame_ = frame + frames;
    predictedNs_ = filtered + frames * nsPerFrame_;
    Publish(frame, filtered, nsPerFrame_);
}

void FrameClock::Publish(std::int64_t frame, double timeNs, double nsPerFrame) {
    const std::uint32_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    anchorFrame_.store(frame, std::memory_order_relaxed);
    anchorNs_.store(timeNs, std::memory_order_relaxed);
    slopeNs_.store(nsPerFrame, std::memory_order_relaxed);
    valid_.store(true, std::memory_order_relaxed);
    sequence_.store(s + 2, std::memory_order_release);
}

std::optional<std::int64_t> FrameClock::FrameAt(TimePoint time) const {
    std::int64_t frame = 0;
    double anchorNs = 0.0;
    double slope = 0.0;
    bool valid = false;
    for (;;) {
        const std::uint32_t before = sequence_.load(std::memory_order_acquire);
        if (before & 1u) {
            continue;
        }
        frame = anchorFrame_.load(std::memory_order_relaxed);
        anchorNs = anchorNs_.load(std::memory_order_relaxed);
        slope = slopeNs_.load(std::memory_order_relaxed);
        valid = valid_.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if (sequence_.load(std::memory_order_relaxed) == before) {
            break;
        }
    }
    if (!valid) {
        return std::nullopt;
    }
    return frame + static_cast<std::int64_t>(std::nearbyint((ToNs(time) - anchorNs) / slope));
}

double FrameClock::NanosecondsPerFrame() const {
    return slopeNs_.load(std::memory_order_relaxed);
}

}  // namespace orvane
