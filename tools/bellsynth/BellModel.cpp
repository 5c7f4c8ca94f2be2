#include "BellModel.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "Random.h"

namespace orvane::bellsynth {

namespace {

// Weights that the size scale maps to 0 and 1.
constexpr double kLightestKg = 3.0;
constexpr double kHeaviestKg = 4800.0;
// Prime frequency = kPrimeConstant * weight^(-1/3): 4800 kg -> ~95 Hz, 3 kg -> ~1110 Hz.
constexpr double kPrimeConstant = 1600.0;
// Hum T60 = kHumT60Constant * weight^kHumT60Exponent: 4800 kg -> ~28 s, 3 kg -> ~4.2 s.
constexpr double kHumT60Constant = 3.17;
constexpr double kHumT60Exponent = 0.257;
// Modes above this are not rendered.
constexpr double kHighestHz = 16000.0;

// The partial table of an untuned Russian bell: base ratio to the prime, ratio spread
// (+-, relative), relative amplitude, attack in units of the clapper contact time, and T60
// relative to the hum's.
struct PartialShape {
    const char* name;
    double ratio;
    double spread;
    double amplitude;
    double attack;
    double t60;
};

constexpr std::array<PartialShape, 18> kShape{{
    {"hum", 0.52, 0.04, 0.50, 3.0, 1.00},
    {"prime", 1.00, 0.00, 0.72, 1.6, 0.72},
    {"tierce", 1.18, 0.05, 0.80, 1.0, 0.58},
    {"quint", 1.48, 0.05, 0.36, 0.8, 0.46},
    {"nominal", 2.04, 0.03, 0.78, 0.6, 0.40},
    {"upper 2.6", 2.62, 0.04, 0.46, 0.4, 0.30},
    {"upper 3.2", 3.19, 0.04, 0.38, 0.35, 0.24},
    {"upper 4.1", 4.12, 0.04, 0.30, 0.3, 0.18},
    {"upper 5.4", 5.38, 0.04, 0.22, 0.25, 0.13},
    {"upper 6.7", 6.74, 0.04, 0.16, 0.2, 0.10},
    {"upper 8.2", 8.21, 0.04, 0.13, 0.2, 0.075},
    {"upper 9.9", 9.93, 0.04, 0.115, 0.2, 0.06},
    {"upper 11.8", 11.82, 0.05, 0.10, 0.2, 0.05},
    {"upper 13.9", 13.94, 0.05, 0.085, 0.2, 0.042},
    {"upper 16.3", 16.27, 0.05, 0.07, 0.2, 0.036},
    {"upper 18.9", 18.85, 0.05, 0.06, 0.2, 0.031},
    {"upper 21.7", 21.66, 0.05, 0.05, 0.2, 0.027},
    {"upper 24.8", 24.77, 0.05, 0.04, 0.2, 0.024},
}};

// The short-lived click modes excited only by the clapper: kClickCount modes from
// kFirstClickRatio x prime upwards, each kClickStep higher than the last.
constexpr int kClickCount = 12;
constexpr double kFirstClickRatio = 12.7;
constexpr double kClickStep = 1.23;
// Decay times of a bell's modes spread less than the table's T60 ratios alone would give:
// T60 = hum T60 x (table ratio)^kT60Compression.
constexpr double kT60Compression = 0.75;

}  // namespace

double PrimeFrequency(double weightKg) {
    const double w = std::clamp(weightKg, 0.5, 200000.0);
    return kPrimeConstant * std::cbrt(1.0 / w);
}

BellModel MakeBellModel(const BellEntry& entry) {
    Random rng(HashText(entry.soundFile) ^ std::bit_cast<std::uint64_t>(entry.weightKg));
    const double w = std::clamp(entry.weightKg, 0.5, 200000.0);
    constexpr double kTwoPi = 2.0 * std::numbers::pi;

    BellModel bell;
    bell.entry = entry;
    bell.size =
        std::clamp(std::log(w / kLightestKg) / std::log(kHeaviestKg / kLightestKg), 0.0, 1.0);
    bell.primeHz = PrimeFrequency(w) * (1.0 + 0.012 * rng.Signed());

    const double humT60 = kHumT60Constant * std::pow(w, kHumT60Exponent);
    // Clapper contact time: heavier clappers stay longer on the rim (0.4 ms ... 4 ms).
    const double contactS = 0.0004 * std::pow(10.0, bell.size);
    // The clapper cannot excite modes much above 1/contact; a gentle roll-off keeps the
    // brightness of small bells without harshness.
    const double rollOffHz = std::max(2500.0, 6.0 / contactS);

    for (const PartialShape& shape : kShape) {
        Partial p;
        p.name = shape.name;
        p.ratio = shape.ratio * (1.0 + shape.spread * rng.Signed());
        p.freqHz = bell.primeHz * p.ratio;
        const double tilt = 1.0 / std::sqrt(1.0 + std::pow(p.freqHz / rollOffHz, 2.0));
        p.amplitude = shape.amplitude * (1.0 + 0.2 * rng.Signed()) * tilt;
        p.attackS = std::max(0.0003, shape.attack * contactS);
        p.t60S = humT60 * std::pow(shape.t60, kT60Compression) * (1.0 + 0.1 * rng.Signed());
        // Three modes in four are audible doublets; the split grows with frequency but stays a
        // slow warble (0.08 ... 2.6 Hz).
        if (rng.Unit() < 0.75) {
            const double ceiling = rng.Range(1.3, 2.6);
            p.splitHz = std::clamp(p.freqHz * rng.Range(0.0008, 0.003), 0.08, ceiling);
            p.balance = rng.Range(0.3, 0.75);
        } else {
            p.splitHz = 0.0;
            p.balance = 0.0;
        }
        p.phase1 = kTwoPi * rng.Unit();
        p.phase2 = kTwoPi * rng.Unit();
        if (p.freqHz + p.splitHz < kHighestHz) {
            bell.partials.push_back(p);
        }
    }

    Strike& strike = bell.strike;
    strike.noiseLevel = 0.45 + 0.15 * (1.0 - bell.size);
    strike.noiseCentreHz = std::clamp(bell.primeHz * 7.0, 900.0, 7000.0);
    strike.noiseQ = 1.1;
    strike.noiseDecayS = 0.0015 + 0.003 * bell.size;
    strike.noiseSeed = rng.Next();
    for (int k = 0; k < kClickCount; ++k) {
        Partial c;
        c.name = "click";
        c.ratio = kFirstClickRatio * std::pow(kClickStep, k) * (1.0 + 0.06 * rng.Signed());
        c.freqHz = bell.primeHz * c.ratio;
        if (c.freqHz >= kHighestHz) {
            continue;
        }
        const double tilt = 1.0 / std::sqrt(1.0 + std::pow(c.freqHz / rollOffHz, 2.0));
        c.amplitude = 0.10 * (1.0 + 0.3 * rng.Signed()) * tilt;
        c.attackS = 0.0002;
        c.t60S = (0.05 + 0.25 * bell.size) * (1.0 + 0.3 * rng.Signed());
        c.phase1 = kTwoPi * rng.Unit();
        strike.clicks.push_back(c);
    }

    // Heavier bells are louder: -3 dBFS for the heaviest ... -8 dBFS for the lightest.
    bell.peakDbfs = -8.0 + 5.0 * bell.size;
    // Great bells hang near the centre, slightly left; small bells spread to the right.
    bell.pan = std::clamp(0.72 - 0.95 * bell.size + 0.12 * rng.Signed(), -0.6, 0.9);
    bell.interauralDelayS = 0.0006 * std::abs(bell.pan);
    return bell;
}

}  // namespace orvane::bellsynth
