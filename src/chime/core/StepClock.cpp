#include "chime/core/StepClock.h"

#include <cmath>

namespace orvane {

void StepClock::Anchor(TimePoint now, int intervalMs) {
    anchor_ = now;
    intervalMs_ = intervalMs;
    tick_ = 0;
    ++anchorings_;
    anchored_ = true;
    frameGrid_ = false;
}

StepClock::TimePoint StepClock::Advance(TimePoint now) {
    if (!anchored_) {
        Anchor(now, intervalMs_);
        return anchor_;
    }
    ++tick_;
    const auto interval = std::chrono::milliseconds(intervalMs_);
    // The timer keeps its grid while a tick is handled before the next one is due; later than
    // that, it counts its next tick from this one.
    if (Ideal() + interval < now) {
        Anchor(now, intervalMs_);
    }
    return Ideal();
}

StepClock::TimePoint StepClock::Ideal() const {
    return anchor_ + tick_ * std::chrono::milliseconds(intervalMs_);
}

std::int64_t StepClock::Frames(double ms, int sampleRate) {
    return static_cast<std::int64_t>(std::nearbyint(ms * sampleRate / 1000.0));
}

std::int64_t StepClock::StartFrame(std::int64_t frameAtIdeal, int sampleRate) {
    const std::int64_t estimate = frameAtIdeal + LookAheadFrames(sampleRate);
    const double sinceBaseMs = static_cast<double>(tick_) * intervalMs_;
    if (frameGrid_ && frameRate_ == sampleRate) {
        const std::int64_t place = frameBase_ + Frames(sinceBaseMs, sampleRate);
        const std::int64_t drift = estimate > place ? estimate - place : place - estimate;
        if (drift <= Frames(static_cast<double>(kMaxDrift.count()), sampleRate)) {
            return place;
        }
        ++resyncs_;
    }
    frameGrid_ = true;
    frameRate_ = sampleRate;
    frameBase_ = estimate - Frames(sinceBaseMs, sampleRate);
    return estimate;
}

}  // namespace orvane
