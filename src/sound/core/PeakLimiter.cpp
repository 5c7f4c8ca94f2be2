#include "sound/core/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr float kMinStep = 1e-5f;

// The gain a frame needs so that it stays at or below the ceiling.
float Need(float left, float right) {
    const float peak = std::max(std::abs(left), std::abs(right));
    return peak > PeakLimiter::kCeiling ? PeakLimiter::kCeiling / peak : 1.0f;
}

}  // namespace

PeakLimiter::PeakLimiter(int sampleRate)
    : lookAhead_(std::clamp(static_cast<int>(std::lround(sampleRate * kLookAheadSeconds)), 1,
                            kMaxLookAhead)),
      release_(static_cast<float>(1.0 - std::exp(-1.0 / (sampleRate * kReleaseSeconds)))) {}

void PeakLimiter::Process(float* left, float* right, int frames, const float* aheadLeft,
                          const float* aheadRight) {
    frames = std::min(frames, kMaxFrames);
    const int total = frames + lookAhead_;
    for (int i = 0; i < frames; ++i) {
        need_[i] = Need(left[i], right[i]);
    }
    for (int i = 0; i < lookAhead_; ++i) {
        need_[frames + i] = Need(aheadLeft[i], aheadRight[i]);
    }
    for (int i = 0; i < frames; ++i) {
        // The deepest need within the look-ahead, and how far off it is.
        int at = i;
        float deepest = need_[i];
        const int end = std::min(i + lookAhead_, total - 1);
        for (int j = i + 1; j <= end; ++j) {
            if (need_[j] < deepest) {
                deepest = need_[j];
                at = j;
            }
        }
        float gain = gain_;
        if (deepest < gain) {
            gain -= (gain - deepest) / static_cast<float>(at - i + 1);
        } else {
            // The smallest step keeps the approach from stalling a few units short of one.
            gain = std::min({deepest, 1.0f, gain + std::max((1.0f - gain) * release_, kMinStep)});
        }
        gain = std::min(gain, need_[i]);
        gain_ = gain;
        if (gain < 1.0f) {
            // The clamp only catches the last unit of rounding in gain x sample.
            left[i] = std::clamp(left[i] * gain, -kCeiling, kCeiling);
            right[i] = std::clamp(right[i] * gain, -kCeiling, kCeiling);
        }
    }
}

}  // namespace orvane
