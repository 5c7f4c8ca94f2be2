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
    float deepestAll = 1.0f;
    for (int i = 0; i < frames; ++i) {
        need_[i] = Need(left[i], right[i]);
        deepestAll = std::min(deepestAll, need_[i]);
    }
    for (int i = 0; i < lookAhead_; ++i) {
        need_[frames + i] = Need(aheadLeft[i], aheadRight[i]);
        deepestAll = std::min(deepestAll, need_[frames + i]);
    }
    if (gain_ >= 1.0f && deepestAll >= 1.0f) {
        return;  // nothing reaches the ceiling and the gain is at one: the signal passes as is
    }
    // The deepest need within [i, i + lookAhead] and its first frame, for every i, from a
    // window-minimum queue: indices of increasing need, the front the window's minimum.
    int head = 0;
    int tail = 0;
    for (int j = 0; j < std::min(lookAhead_, total); ++j) {
        while (tail > head && need_[window_[tail - 1]] > need_[j]) {
            --tail;
        }
        window_[tail++] = j;
    }
    for (int i = 0; i < frames; ++i) {
        const int entering = i + lookAhead_;
        if (entering < total) {
            while (tail > head && need_[window_[tail - 1]] > need_[entering]) {
                --tail;
            }
            window_[tail++] = entering;
        }
        while (window_[head] < i) {
            ++head;
        }
        const int at = window_[head];
        const float deepest = need_[at];
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
