#pragma once

#include <vector>

#include "BellModel.h"

namespace orvane::bellsynth {

struct StereoSound {
    std::vector<double> left;
    std::vector<double> right;
};

// Places a dry mono bell sound in the belfry: constant-power pan to the bell's position with a
// small delay of the far channel, a few early reflections, and a short room reverberation
// (an eight-line feedback delay network, RT60 about 1.2 s, mixed about 13 dB below the direct
// sound) whose left and right outputs are decorrelated. The result is the dry length plus the
// reverberation tail, in the same arbitrary units as the input.
StereoSound PlaceInBelfry(const std::vector<double>& dry, const BellModel& bell, int sampleRate);

}  // namespace orvane::bellsynth
