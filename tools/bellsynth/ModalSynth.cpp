#include "ModalSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Random.h"

namespace orvane::bellsynth {

namespace {

constexpr double kLn1000 = 6.907755278982137;  // ln(10^3): 60 dB

// Adds amplitude * (1 - exp(-t/attack)) * exp(-t * ln1000 / t60) * sin(2 pi f t + phase) to
// out[0..], stopping once the component is 100 dB below its start. The sine and the decay run
// as one complex recursion, so no transcendental function is evaluated per sample.
void AddComponent(std::vector<double>& out, int sampleRate, double freqHz, double phase,
                  double amplitude, double attackS, double t60S) {
    if (amplitude <= 0.0 || freqHz <= 0.0 || freqHz >= 0.5 * sampleRate) {
        return;
    }
    const double fs = sampleRate;
    const double decayPerSample = std::exp(-kLn1000 / (t60S * fs));
    const double w = 2.0 * std::numbers::pi * freqHz / fs;
    const double stepRe = decayPerSample * std::cos(w);
    const double stepIm = decayPerSample * std::sin(w);
    const double attackPerSample = std::exp(-1.0 / (attackS * fs));
    const std::size_t length =
        std::min(out.size(), static_cast<std::size_t>(t60S * (100.0 / 60.0) * fs) + 1);

    double re = amplitude * std::cos(phase);
    double im = amplitude * std::sin(phase);
    double onset = 1.0;  // exp(-t/attack), the part of the onset still missing
    for (std::size_t n = 0; n < length; ++n) {
        out[n] += im * (1.0 - onset);
        const double nextRe = re * stepRe - im * stepIm;
        im = re * stepIm + im * stepRe;
        re = nextRe;
        onset *= attackPerSample;
    }
}

// RBJ band-pass (constant 0 dB peak gain) run over a noise burst.
void AddNoiseBurst(std::vector<double>& out, int sampleRate, const Strike& strike) {
    const double fs = sampleRate;
    const std::size_t length =
        std::min(out.size(), static_cast<std::size_t>(strike.noiseDecayS * 12.0 * fs) + 1);
    const double w0 = 2.0 * std::numbers::pi * strike.noiseCentreHz / fs;
    const double alpha = std::sin(w0) / (2.0 * strike.noiseQ);
    const double a0 = 1.0 + alpha;
    const double b0 = alpha / a0;
    const double b2 = -alpha / a0;
    const double a1 = -2.0 * std::cos(w0) / a0;
    const double a2 = (1.0 - alpha) / a0;

    Random rng(strike.noiseSeed);
    const double decayPerSample = std::exp(-1.0 / (strike.noiseDecayS * fs));
    const double risePerSample = std::exp(-1.0 / (0.0002 * fs));
    double envelope = 1.0;
    double rise = 1.0;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    // The band-pass lowers the level of white noise; this restores roughly the requested peak.
    const double gain = strike.noiseLevel * 2.5;
    for (std::size_t n = 0; n < length; ++n) {
        const double x = rng.Signed() * envelope * (1.0 - rise);
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        out[n] += gain * y;
        envelope *= decayPerSample;
        rise *= risePerSample;
    }
}

}  // namespace

std::vector<double> RenderBell(const BellModel& bell, int sampleRate) {
    double longestT60 = 0.0;
    for (const Partial& p : bell.partials) {
        longestT60 = std::max(longestT60, p.t60S);
    }
    // At 1.3 x T60 every component is 78 dB down; together they stay below -60 dB of the peak.
    const auto length = static_cast<std::size_t>((longestT60 * 1.3 + 0.25) * sampleRate);
    std::vector<double> out(length, 0.0);

    for (const Partial& p : bell.partials) {
        if (p.splitHz <= 0.0) {
            AddComponent(out, sampleRate, p.freqHz, p.phase1, p.amplitude, p.attackS, p.t60S);
            continue;
        }
        // The two halves of a doublet: unequal in level, and the weaker one decays a little
        // faster, so the beating is deepest early and fades into a steadier tone.
        const double first = p.amplitude / (1.0 + p.balance);
        const double second = p.amplitude * p.balance / (1.0 + p.balance);
        AddComponent(out, sampleRate, p.freqHz - 0.5 * p.splitHz, p.phase1, first, p.attackS,
                     p.t60S);
        AddComponent(out, sampleRate, p.freqHz + 0.5 * p.splitHz, p.phase2, second, p.attackS,
                     p.t60S * 0.92);
    }
    for (const Partial& c : bell.strike.clicks) {
        AddComponent(out, sampleRate, c.freqHz, c.phase1, c.amplitude, c.attackS, c.t60S);
    }
    AddNoiseBurst(out, sampleRate, bell.strike);
    return out;
}

}  // namespace orvane::bellsynth
