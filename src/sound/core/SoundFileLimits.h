#pragma once

#include <cstdint>

namespace orvane {

// What a sound file may claim in its header before the program decodes it. A header is outside
// input: a few bytes can claim a rate of hundreds of megahertz (which would make the resampler
// tabulate billions of kernel taps) or billions of frames (which would be reserved up front).
// Sounds outside these bounds are treated as files that cannot be decoded.
struct SoundFileLimits {
    static constexpr int kMinSampleRate = 1000;    // Hz
    static constexpr int kMaxSampleRate = 384000;  // Hz
    static constexpr int kMaxChannels = 32;
    static constexpr std::int64_t kMaxSeconds = 600;  // the longest sound, at its own rate
};

// True when a header's claims lie within SoundFileLimits. `frames` is the claimed length in
// frames; zero or less means "not known" (some compressed formats), which is accepted.
bool SoundFileClaimsFit(std::int64_t sampleRate, std::int64_t channels, std::int64_t frames);

}  // namespace orvane
