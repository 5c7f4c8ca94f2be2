#pragma once

#include <array>
#include <cstdint>

namespace orvane {

// A look-ahead peak limiter for the stereo master bus, linked across both channels.
//
// Ceiling: kCeiling (-0.5 dBFS, 0.944 of full scale); no sample that leaves Process exceeds it.
// Look-ahead: kLookAheadSeconds (1 ms, 48 frames at 48 kHz). The gain falls in a straight line
// so that it has reached what a peak needs by the peak's frame, and the caller hands in the
// coming frames (Ahead); the limiter itself adds no delay. A peak that was not in the look-ahead
// (a sound started this buffer) is caught by the same ceiling at its frame, without the ramp.
// Release: exponential towards unity with kReleaseSeconds (60 ms) time constant; the gain snaps
// to exactly one at the end, so a signal that stays below the ceiling passes bit-identical.
//
// Audio thread only; fixed storage, never allocates.
class PeakLimiter {
public:
    static constexpr float kCeiling = 0.9440609f;  // 10^(-0.5 / 20)
    static constexpr double kLookAheadSeconds = 0.001;
    static constexpr double kReleaseSeconds = 0.060;
    static constexpr int kMaxLookAhead = 256;
    static constexpr int kMaxFrames = 512;

    explicit PeakLimiter(int sampleRate = 48000);

    // Frames of the coming signal that Process wants in `ahead`.
    int LookAhead() const { return lookAhead_; }
    // True while the gain is below one (the limiter must see every buffer until it recovers).
    bool Reducing() const { return gain_ < 1.0f; }
    float Gain() const { return gain_; }

    // Limits `frames` (at most kMaxFrames) frames of separate left and right samples in place.
    // aheadLeft/aheadRight: the LookAhead() frames that follow, as far as they are known (silence
    // for unknown frames).
    void Process(float* left, float* right, int frames, const float* aheadLeft,
                 const float* aheadRight);

private:
    int lookAhead_;
    float release_;  // per-frame step factor towards unity
    float gain_ = 1.0f;
    std::array<float, kMaxFrames + kMaxLookAhead + 1> need_{};
    std::array<int, kMaxFrames + kMaxLookAhead + 1> window_{};
};

}  // namespace orvane
