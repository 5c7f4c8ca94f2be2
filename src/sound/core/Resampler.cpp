#include "sound/core/Resampler.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orvane {

namespace {

constexpr int kZeroCrossings = 32;
constexpr int kMaxPhases = 4096;
constexpr double kBeta = 9.0;
constexpr double kRolloff = 0.91;
constexpr double kPi = 3.14159265358979323846;

// The modified Bessel function of the first kind, order 0.
double BesselI0(double x) {
    double sum = 1.0;
    double term = 1.0;
    const double q = x * x / 4.0;
    for (int k = 1; k < 64; ++k) {
        term *= q / (static_cast<double>(k) * k);
        sum += term;
        if (term < sum * 1e-17) {
            break;
        }
    }
    return sum;
}

}  // namespace

Resampler::Resampler(int inRate, int outRate) : inRate_(inRate), outRate_(outRate) {
    if (inRate_ <= 0 || outRate_ <= 0 || inRate_ == outRate_) {
        return;
    }
    const std::int64_t g = std::gcd(inRate_, outRate_);
    up_ = outRate_ / g;
    down_ = inRate_ / g;
    phases_ = static_cast<int>(std::min<std::int64_t>(up_, kMaxPhases));
    const double scale = std::min(1.0, static_cast<double>(outRate_) / inRate_);
    halfWidth_ = static_cast<int>(std::ceil(kZeroCrossings / scale));
    halfWidth_ += halfWidth_ % 2;  // the tap loop runs in fours
    const int taps = 2 * halfWidth_;
    const double cutoff = scale * kRolloff;  // of the input Nyquist frequency
    const double i0Beta = BesselI0(kBeta);
    bank_.resize(static_cast<std::size_t>(phases_) * taps);
    for (int p = 0; p < phases_; ++p) {
        const double frac = static_cast<double>(p) / phases_;
        float* row = &bank_[static_cast<std::size_t>(p) * taps];
        double sum = 0.0;
        std::vector<double> h(taps);
        for (int k = 0; k < taps; ++k) {
            // Tap k weighs input sample (position - halfWidth_ + 1 + k).
            const double t = (k - halfWidth_ + 1) - frac;
            const double x = t / halfWidth_;
            const double window =
                std::abs(x) >= 1.0 ? 0.0 : BesselI0(kBeta * std::sqrt(1.0 - x * x)) / i0Beta;
            const double arg = kPi * cutoff * t;
            const double sinc = t == 0.0 ? 1.0 : std::sin(arg) / arg;
            h[k] = cutoff * sinc * window;
            sum += h[k];
        }
        for (int k = 0; k < taps; ++k) {
            row[k] = static_cast<float>(h[k] / sum);
        }
    }
}

std::int64_t Resampler::OutputFrames(std::int64_t frames) const {
    if (bank_.empty()) {
        return frames;
    }
    return (frames * outRate_ + inRate_ - 1) / inRate_;
}

std::vector<float> Resampler::Process(const float* in, std::int64_t frames, int channels) const {
    if (bank_.empty()) {
        return std::vector<float>(in, in + frames * channels);
    }
    const std::int64_t outFrames = OutputFrames(frames);
    if (outFrames <= 0 || channels <= 0) {
        return {};
    }
    std::vector<float> out(static_cast<std::size_t>(outFrames * channels));
    std::vector<float> padded(static_cast<std::size_t>(frames + 2 * halfWidth_ + 1));
    for (int c = 0; c < channels; ++c) {
        std::fill(padded.begin(), padded.end(), 0.0f);
        for (std::int64_t i = 0; i < frames; ++i) {
            padded[static_cast<std::size_t>(i + halfWidth_)] = in[i * channels + c];
        }
        ProcessChannel(padded, out.data() + c, outFrames, channels);
    }
    return out;
}

void Resampler::ProcessChannel(const std::vector<float>& padded, float* out, std::int64_t outFrames,
                               int channels) const {
    const int taps = 2 * halfWidth_;
    const std::int64_t paddedSize = static_cast<std::int64_t>(padded.size());
    for (std::int64_t n = 0; n < outFrames; ++n) {
        // The exact input position of output frame n is n x down_ / up_.
        const std::int64_t num = n * down_;
        std::int64_t index = num / up_;
        std::int64_t phase = num % up_;
        if (phases_ != up_) {
            phase = (phase * phases_ + up_ / 2) / up_;
            if (phase == phases_) {
                phase = 0;
                ++index;
            }
        }
        // First tap reads input sample index - halfWidth_ + 1, which is padded[index + 1].
        const std::int64_t first = index + 1;
        const float* x = padded.data() + first;
        const float* h = &bank_[static_cast<std::size_t>(phase) * taps];
        float a0 = 0.0f, a1 = 0.0f, a2 = 0.0f, a3 = 0.0f;
        if (first + taps <= paddedSize) {
            for (int k = 0; k < taps; k += 4) {
                a0 += x[k] * h[k];
                a1 += x[k + 1] * h[k + 1];
                a2 += x[k + 2] * h[k + 2];
                a3 += x[k + 3] * h[k + 3];
            }
        } else {
            for (int k = 0; k < taps && first + k < paddedSize; ++k) {
                a0 += x[k] * h[k];
            }
        }
        out[n * channels] = (a0 + a1) + (a2 + a3);
    }
}

}  // namespace orvane
