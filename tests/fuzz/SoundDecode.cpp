// The sound file decoder with the resampler (any rate the file claims, to the usual device rate),
// and the resampler on its own between the common sound file and device rates.

#include "FuzzSupport.h"

#include "sound/core/Resampler.h"
#include "sound/core/SampleBuffer.h"
#include "sound/core/SoundFileLimits.h"

#include <cmath>
#include <cstring>
#include <iterator>

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::Scratch() + "/sound.wav";
    fuzz::WriteFile(path, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (const int rate : {48000}) {
        const DecodeResult result = DecodeSampleFile(path, rate);
        ORVANE_FUZZ_CHECK((result.error == DecodeError::kNone) == (result.buffer != nullptr));
        if (result.buffer) {
            ORVANE_FUZZ_CHECK(result.buffer->channels == 1 || result.buffer->channels == 2);
            ORVANE_FUZZ_CHECK(result.buffer->sampleRate == rate);
            // A whole decode: every frame is there and can be read.
            ORVANE_FUZZ_CHECK(result.buffer->Complete());
            const std::vector<float> samples = result.buffer->ToFloats();
            ORVANE_FUZZ_CHECK(static_cast<std::int64_t>(samples.size()) ==
                              result.buffer->Frames() * result.buffer->channels);
        }
    }

    // The resampler between two rates inside the limits, over the input as samples.
    if (size < 8) {
        return 0;
    }
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    std::memcpy(&a, data, 4);
    std::memcpy(&b, data + 4, 4);
    static const int kInRates[] = {SoundFileLimits::kMinSampleRate, 8000, 11025, 16000, 22050, 32000, 44100,
                                   48000, 88200, 96000, 176400, 192000, SoundFileLimits::kMaxSampleRate};
    const int inRate = kInRates[a % std::size(kInRates)];
    static const int kOutRates[] = {44100, 48000, 96000};  // what sound devices ask for
    const int outRate = kOutRates[b % 3];
    const int channels = 1 + static_cast<int>((b >> 8) % 2);
    std::vector<float> samples;
    for (std::size_t i = 8; i < size && samples.size() < 4096; ++i) {
        samples.push_back((static_cast<float>(data[i]) - 128.0f) / 128.0f);
    }
    const std::int64_t frames = static_cast<std::int64_t>(samples.size()) / channels;
    const Resampler resampler(inRate, outRate);
    const std::vector<float> out = resampler.Process(samples.data(), frames, channels);
    ORVANE_FUZZ_CHECK(static_cast<std::int64_t>(out.size()) == resampler.OutputFrames(frames) * channels);
    for (const float s : out) {
        ORVANE_FUZZ_CHECK(std::isfinite(s) && std::fabs(s) < 4.0f);
    }
    return 0;
}
