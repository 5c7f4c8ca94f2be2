#pragma once

#include <sndfile.h>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace orvane::test {

constexpr double kTestPi = 3.14159265358979323846;

// Writes interleaved samples as a sound file; false when the library cannot write the format.
inline bool WriteSound(const QString& path, int rate, int channels, int format,
                       const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    const sf_count_t written = sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return written == frames;
}

inline bool WriteFloatWav(const QString& path, int rate, int channels,
                          const std::vector<float>& samples) {
    return WriteSound(path, rate, channels, SF_FORMAT_WAV | SF_FORMAT_FLOAT, samples);
}

// `frames` frames of a sine per channel (frequencies in Hz, one per channel).
inline std::vector<float> Sine(int rate, std::int64_t frames, const std::vector<double>& hz,
                               double amplitude) {
    const int channels = static_cast<int>(hz.size());
    std::vector<float> out(static_cast<std::size_t>(frames * channels));
    for (std::int64_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            out[static_cast<std::size_t>(i * channels + c)] =
                static_cast<float>(amplitude * std::sin(2.0 * kTestPi * hz[c] * i / rate));
        }
    }
    return out;
}

inline std::vector<float> Constant(std::int64_t frames, const std::vector<float>& frame) {
    std::vector<float> out;
    for (std::int64_t i = 0; i < frames; ++i) {
        out.insert(out.end(), frame.begin(), frame.end());
    }
    return out;
}

// The frequency of channel `channel` of interleaved samples from its upward zero crossings
// between frames [from, to).
inline double MeasuredHz(const std::vector<float>& samples, int channels, int channel, int rate,
                         std::int64_t from, std::int64_t to) {
    std::int64_t first = -1;
    std::int64_t last = -1;
    int crossings = 0;
    for (std::int64_t i = from + 1; i < to; ++i) {
        const float a = samples[static_cast<std::size_t>((i - 1) * channels + channel)];
        const float b = samples[static_cast<std::size_t>(i * channels + channel)];
        if (a < 0.0f && b >= 0.0f) {
            if (first < 0) {
                first = i;
            } else {
                ++crossings;
                last = i;
            }
        }
    }
    if (crossings == 0) {
        return 0.0;
    }
    return crossings * static_cast<double>(rate) / static_cast<double>(last - first);
}

inline float PeakOf(const std::vector<float>& samples, int channels, int channel, std::int64_t from,
                    std::int64_t to) {
    float peak = 0.0f;
    for (std::int64_t i = from; i < to; ++i) {
        peak = std::max(peak, std::abs(samples[static_cast<std::size_t>(i * channels + channel)]));
    }
    return peak;
}

}  // namespace orvane::test
