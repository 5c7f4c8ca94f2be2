#pragma once

#include <string>
#include <vector>

#include "BellCatalogue.h"

namespace orvane::bellsynth {

// One vibration mode of the bell. A real bell is never perfectly round, so most modes are
// doublets: two components a fraction of a hertz apart whose beating makes the warble.
struct Partial {
    std::string name;        // "hum", "prime", "tierce", ... for reports
    double ratio = 1.0;      // frequency / prime frequency, detuned for this bell
    double freqHz = 0.0;     // centre frequency
    double splitHz = 0.0;    // distance between the doublet components (0 = single)
    double amplitude = 0.0;  // peak amplitude of both components together (arbitrary units)
    double balance = 1.0;    // second component amplitude / first component amplitude
    double attackS = 0.0;    // time constant of the onset, seconds
    double t60S = 0.0;       // time to decay by 60 dB, seconds
    double phase1 = 0.0;     // start phases of the two components, radians
    double phase2 = 0.0;
};

// The clapper strike: a short band-passed noise burst plus a few short-lived high modes.
struct Strike {
    double noiseLevel = 0.0;     // peak amplitude of the burst (same units as Partial)
    double noiseCentreHz = 0.0;  // centre of the band-pass
    double noiseQ = 1.0;
    double noiseDecayS = 0.0;     // time constant of the burst's exponential decay
    std::vector<Partial> clicks;  // metallic click modes (single, fast decay)
    unsigned long long noiseSeed = 0;
};

// Everything needed to render one bell, derived only from its catalogue row.
struct BellModel {
    BellEntry entry;
    double primeHz = 0.0;
    double size = 0.0;  // 0 = lightest (3 kg) ... 1 = heaviest (4800 kg), log scale
    std::vector<Partial> partials;
    Strike strike;
    double peakDbfs = -6.0;         // the level the rendered file is normalised to
    double pan = 0.0;               // -1 = left ... +1 = right
    double interauralDelayS = 0.0;  // delay of the far channel
};

// Builds the modal model of a bell of the given weight: prime frequency proportional to
// weight^(-1/3), the untuned partial ratios of a Russian bell with small deterministic
// detuning, decay times growing with weight, and the belfry position. The same entry always
// gives the same model.
BellModel MakeBellModel(const BellEntry& entry);

// Prime frequency in Hz of a bell of the given weight in kg (before the per-bell detuning).
double PrimeFrequency(double weightKg);

}  // namespace orvane::bellsynth
