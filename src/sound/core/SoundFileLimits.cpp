#include "sound/core/SoundFileLimits.h"

namespace orvane {

bool SoundFileClaimsFit(std::int64_t sampleRate, std::int64_t channels, std::int64_t frames) {
    if (sampleRate < SoundFileLimits::kMinSampleRate ||
        sampleRate > SoundFileLimits::kMaxSampleRate) {
        return false;
    }
    if (channels < 1 || channels > SoundFileLimits::kMaxChannels) {
        return false;
    }
    return frames <= SoundFileLimits::kMaxSeconds * sampleRate;
}

}  // namespace orvane
