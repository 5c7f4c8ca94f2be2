#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvane {

// A decoded sound: interleaved float samples (nominally -1 to 1) at the rate of the output
// device. One or two channels; a mono sound is played on both output channels. Immutable once
// made and shared between the cache and the voices that play it.
struct SampleBuffer {
    int channels = 1;
    int sampleRate = 0;
    std::vector<float> samples;

    std::int64_t Frames() const { return static_cast<std::int64_t>(samples.size()) / channels; }
};

enum class DecodeError { kNone, kNotFound, kCannotDecode };

struct DecodeResult {
    std::shared_ptr<const SampleBuffer> buffer;  // null unless error is kNone
    DecodeError error = DecodeError::kNone;
};

// Reads a whole sound file (any format the system's sound file library reads: WAV with 8, 16,
// 24 or 32-bit integer or float samples, MP3, ...) and converts it to `sampleRate`. Sounds of
// more than two channels keep their first two. Runs on the calling thread and may take tens of
// milliseconds for a long sound; never call it on the audio thread.
DecodeResult DecodeSampleFile(const QString& path, int sampleRate);

}  // namespace orvane
