#pragma once

#include <vector>

#include "BellModel.h"

namespace orvane::bellsynth {

// Renders the dry, mono sound of one strike of the bell at the given sample rate: the sum of
// its partials (each doublet as two exponentially decaying sines with a smooth onset) and the
// clapper transient. The result is long enough for every component to have decayed far below
// -60 dB of the peak; its level is in the model's arbitrary units (not normalised).
std::vector<double> RenderBell(const BellModel& bell, int sampleRate);

}  // namespace orvane::bellsynth
