#include "Belfry.h"

#include <array>
#include <cmath>
#include <numbers>

namespace orvane::bellsynth {

namespace {

constexpr int kLines = 8;
// Delay lengths at 48 kHz (mutually prime, 30 ... 58 ms); scaled for other rates.
constexpr std::array<int, kLines> kDelays48k{1433, 1601, 1867, 2053, 2251, 2399, 2617, 2797};
constexpr double kRt60S = 1.2;
constexpr double kPreDelayS = 0.014;
constexpr double kTailS = 1.6;
// Loop low-pass coefficient: high frequencies die sooner, as in a real room.
constexpr double kDamping = 0.35;
// Wet energy relative to the direct sound.
constexpr double kWetEnergyRatio = 0.05;  // -13 dB

// Early reflections per channel: delay in seconds and gain. Left and right differ, which
// already decorrelates the channels before the reverberation builds up.
struct Reflection {
    double delayS;
    double gain;
};
constexpr std::array<Reflection, 3> kLeftReflections{
    {{0.0071, 0.28}, {0.0137, -0.19}, {0.0231, 0.14}}};
constexpr std::array<Reflection, 3> kRightReflections{
    {{0.0089, 0.26}, {0.0163, -0.21}, {0.0197, 0.13}}};

// In-place fast Walsh-Hadamard transform, normalised so that it is orthogonal.
void Hadamard(std::array<double, kLines>& v) {
    for (int h = 1; h < kLines; h *= 2) {
        for (int i = 0; i < kLines; i += 2 * h) {
            for (int j = i; j < i + h; ++j) {
                const double a = v[j];
                const double b = v[j + h];
                v[j] = a + b;
                v[j + h] = a - b;
            }
        }
    }
    const double norm = 1.0 / std::sqrt(static_cast<double>(kLines));
    for (double& x : v) {
        x *= norm;
    }
}

// Runs the network over the two input channels and returns its two (decorrelated) outputs.
StereoSound Reverberate(const std::vector<double>& inL, const std::vector<double>& inR,
                        int sampleRate) {
    const std::size_t length = inL.size();
    const auto preDelay = static_cast<std::size_t>(kPreDelayS * sampleRate);
    std::array<std::vector<double>, kLines> lines;
    std::array<std::size_t, kLines> pos{};
    std::array<double, kLines> gains{};
    std::array<double, kLines> lowPass{};
    for (int i = 0; i < kLines; ++i) {
        const auto d = static_cast<std::size_t>(
            std::lround(kDelays48k[i] * static_cast<double>(sampleRate) / 48000.0));
        lines[i].assign(d, 0.0);
        gains[i] = std::pow(10.0, -3.0 * static_cast<double>(d) / (sampleRate * kRt60S));
    }
    constexpr std::array<double, kLines> kInSign{1, -1, 1, 1, -1, 1, -1, -1};
    constexpr std::array<double, kLines> kOutSign{1, 1, -1, 1, 1, -1, -1, 1};

    StereoSound wet{std::vector<double>(length, 0.0), std::vector<double>(length, 0.0)};
    std::array<double, kLines> v{};
    for (std::size_t n = 0; n < length; ++n) {
        const double l = n >= preDelay ? inL[n - preDelay] : 0.0;
        const double r = n >= preDelay ? inR[n - preDelay] : 0.0;
        double outL = 0.0;
        double outR = 0.0;
        for (int i = 0; i < kLines; ++i) {
            const double s = lines[i][pos[i]];
            if (i % 2 == 0) {
                outL += kOutSign[i] * s;
            } else {
                outR += kOutSign[i] * s;
            }
            lowPass[i] = (1.0 - kDamping) * s + kDamping * lowPass[i];
            v[i] = gains[i] * lowPass[i];
        }
        Hadamard(v);
        for (int i = 0; i < kLines; ++i) {
            const double in = (i % 2 == 0 ? l : r) * kInSign[i];
            lines[i][pos[i]] = v[i] + in;
            if (++pos[i] == lines[i].size()) {
                pos[i] = 0;
            }
        }
        wet.left[n] = outL;
        wet.right[n] = outR;
    }
    return wet;
}

double Energy(const std::vector<double>& x) {
    double e = 0.0;
    for (double s : x) {
        e += s * s;
    }
    return e;
}

}  // namespace

StereoSound PlaceInBelfry(const std::vector<double>& dry, const BellModel& bell, int sampleRate) {
    const std::size_t length = dry.size() + static_cast<std::size_t>(kTailS * sampleRate);
    const double angle = (bell.pan + 1.0) * std::numbers::pi / 4.0;
    const double gainL = std::cos(angle);
    const double gainR = std::sin(angle);
    const auto farDelay = static_cast<std::size_t>(std::lround(bell.interauralDelayS * sampleRate));
    const std::size_t delayL = bell.pan > 0.0 ? farDelay : 0;
    const std::size_t delayR = bell.pan < 0.0 ? farDelay : 0;

    StereoSound direct{std::vector<double>(length, 0.0), std::vector<double>(length, 0.0)};
    for (std::size_t n = 0; n < dry.size(); ++n) {
        direct.left[n + delayL] += gainL * dry[n];
        direct.right[n + delayR] += gainR * dry[n];
    }
    // Early reflections arrive from the other side as well, so each channel gets a little of
    // the whole bell.
    auto reflect = [&](std::vector<double>& out, const auto& reflections) {
        for (const Reflection& ref : reflections) {
            const auto d = static_cast<std::size_t>(std::lround(ref.delayS * sampleRate));
            for (std::size_t n = 0; n < dry.size() && n + d < length; ++n) {
                out[n + d] += ref.gain * 0.7071 * dry[n];
            }
        }
    };
    StereoSound early{std::vector<double>(length, 0.0), std::vector<double>(length, 0.0)};
    reflect(early.left, kLeftReflections);
    reflect(early.right, kRightReflections);

    StereoSound wet = Reverberate(direct.left, direct.right, sampleRate);
    const double directEnergy = Energy(direct.left) + Energy(direct.right);
    const double wetEnergy = Energy(wet.left) + Energy(wet.right);
    const double wetGain =
        wetEnergy > 0.0 ? std::sqrt(kWetEnergyRatio * directEnergy / wetEnergy) : 0.0;

    StereoSound out{std::vector<double>(length), std::vector<double>(length)};
    for (std::size_t n = 0; n < length; ++n) {
        out.left[n] = direct.left[n] + early.left[n] + wetGain * wet.left[n];
        out.right[n] = direct.right[n] + early.right[n] + wetGain * wet.right[n];
    }
    return out;
}

}  // namespace orvane::bellsynth
