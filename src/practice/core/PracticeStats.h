#pragma once

#include "practice/core/StrokeMatcher.h"

#include <array>
#include <vector>

namespace orvane {

// Summary figures of a set of decided notes and taken strokes. Errors are in milliseconds,
// positive when a stroke came after its note (behind), negative before it (ahead).
struct StrokeSummary {
    int notes = 0;      // expected notes decided (unreached ones are not counted)
    int strokes = 0;    // strokes made
    int hits = 0;       // notes rung on their own bell within the window
    int missed = 0;     // notes not rung at all
    int wrongBell = 0;  // notes for which another bell of the group was rung
    int extra = 0;      // strokes that nothing expected
    double meanError = 0.0;    // mean signed error of the hits
    double spread = 0.0;       // standard deviation of the signed errors of the hits (n - 1)
    double withinOnTime = 0.0; // share of the hits within kOnTimeMs, 0..1
    int onTime = 0;            // hits within kOnTimeMs
};

// The summary of a whole pass: all of it, per group (0 small, 1 medium-size, 2 great) and per
// catalogue bell. A stroke counts for the group and bell that was struck; a note for its own.
struct PracticeSummary {
    StrokeSummary all;
    std::array<StrokeSummary, 3> groups{};
    std::array<StrokeSummary, BellSet::kBellCount> bells{};
};

// Adds what the matcher has decided so far (pending notes and strokes are left out).
PracticeSummary Summarise(const StrokeMatcher& matcher);

// Mean and standard deviation (with n - 1; 0 for fewer than two values) of the values.
void MeanAndSpread(const std::vector<double>& values, double& mean, double& spread);

}  // namespace orvane
