#pragma once

#include <sndfile.h>
#include <QDir>
#include <QFile>
#include <QString>

#include <cmath>
#include <vector>

namespace bench {

// Writes a bell-like test sound (a few decaying partials, the channels slightly apart) as a
// float WAV at 48 kHz. False when it cannot be written.
inline bool WriteBellSound(const QString& path, int channels, double seconds, double baseHz) {
    const int rate = 48000;
    const auto frames = static_cast<sf_count_t>(seconds * rate);
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    const double ratios[] = {0.5, 1.0, 1.19, 1.5, 2.0, 2.74};
    for (sf_count_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        for (int c = 0; c < channels; ++c) {
            double v = 0.0;
            for (int k = 0; k < 6; ++k) {
                v += std::exp(-t * (0.3 + 0.4 * k)) *
                     std::sin(2.0 * 3.14159265358979 * baseHz * ratios[k] * (1.0 + 0.001 * c) * t);
            }
            samples[static_cast<std::size_t>(i * channels + c)] = static_cast<float>(0.05 * v);
        }
    }
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    sf_close(file);
    return ok;
}

}  // namespace bench
