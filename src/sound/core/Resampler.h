#pragma once

#include <cstdint>
#include <vector>

namespace orvane {

// Sample-rate conversion of whole sounds, done once when a sound is decoded.
//
// Quality: a band-limited interpolator with a Kaiser-windowed sinc kernel (beta 9, 32 zero
// crossings on each side at the lower of the two rates, so 64 taps when raising the rate and
// 64 x inRate / outRate taps when lowering it). The pass band is flat up to about 82 % of the
// lower Nyquist frequency (18 kHz for 44.1 kHz input); images and aliases are attenuated by
// about 90 dB. The kernel is tabulated per phase of the exact rational position (every phase
// of the ratio when it has at most 4096, else the nearest of 4096), and every phase sums to one,
// so a constant input stays exactly constant.
class Resampler {
  public:
    Resampler(int inRate, int outRate);

    // The number of output frames for `frames` input frames: frames x outRate / inRate, rounded
    // up.
    std::int64_t OutputFrames(std::int64_t frames) const;
    // Input frames on each side of an output frame's position that its value depends on (0 when
    // the rates are equal).
    int HalfWidth() const { return halfWidth_; }

    // Converts interleaved samples of `channels` channels. Samples outside the input count as
    // silence.
    std::vector<float> Process(const float* in, std::int64_t frames, int channels) const;

  private:
    void ProcessChannel(const std::vector<float>& padded, float* out, std::int64_t outFrames,
                        int channels) const;

    int inRate_;
    int outRate_;
    std::int64_t up_ = 1;    // output rate / gcd
    std::int64_t down_ = 1;  // input rate / gcd
    int phases_ = 1;
    int halfWidth_ = 0;        // in input samples; the kernel has 2 x halfWidth_ taps
    std::vector<float> bank_;  // phases_ rows of 2 x halfWidth_ taps
};

}  // namespace orvane
