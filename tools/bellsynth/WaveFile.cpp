#include "WaveFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <stdexcept>
#include <system_error>

namespace orvane::bellsynth {

namespace {

constexpr double kDecayFloor = 0.001;  // -60 dB

void WritePcm16(const std::string& path, const std::vector<std::int16_t>& frames, int channels,
                int sampleRate) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + path + ": " + sf_strerror(nullptr));
    }
    const auto frameCount =
        static_cast<sf_count_t>(frames.size() / static_cast<std::size_t>(channels));
    const sf_count_t written = sf_writef_short(file, frames.data(), frameCount);
    const std::string error = sf_strerror(file);
    const int closed = sf_close(file);
    if (written != frameCount || closed != 0) {
        throw std::runtime_error("cannot write " + path + ": " + error);
    }
}

}  // namespace

WaveFileInfo WriteFinishedWave(const std::string& path, std::vector<std::vector<double>> channels,
                               int sampleRate, double peakDbfs, double fadeS) {
    if (channels.empty() || channels.front().empty()) {
        throw std::runtime_error(path + ": nothing to write");
    }
    const std::size_t length = channels.front().size();
    double peak = 0.0;
    for (const auto& ch : channels) {
        for (double s : ch) {
            peak = std::max(peak, std::abs(s));
        }
    }
    if (!(peak > 0.0) || !std::isfinite(peak)) {
        throw std::runtime_error(path + ": the sound is silent or not finite");
    }

    // Last sample above -60 dB of the peak, over all channels.
    std::size_t end = 0;
    for (const auto& ch : channels) {
        for (std::size_t n = length; n > end; --n) {
            if (std::abs(ch[n - 1]) > kDecayFloor * peak) {
                end = n;
                break;
            }
        }
    }
    const auto fade = std::min(end, static_cast<std::size_t>(fadeS * sampleRate));
    const double scale = std::pow(10.0, peakDbfs / 20.0) * 32767.0 / peak;

    const auto channelCount = static_cast<int>(channels.size());
    std::vector<std::int16_t> frames(end * channels.size());
    for (std::size_t n = 0; n < end; ++n) {
        double gain = scale;
        if (n >= end - fade) {
            // Raised cosine from 1 down to 0 at the last sample.
            const double x =
                static_cast<double>(end - 1 - n) / static_cast<double>(fade > 1 ? fade - 1 : 1);
            gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * x);
        }
        for (std::size_t c = 0; c < channels.size(); ++c) {
            const double v = std::clamp(std::nearbyint(channels[c][n] * gain), -32768.0, 32767.0);
            frames[n * channels.size() + c] = static_cast<std::int16_t>(v);
        }
    }

    const std::string temporary = path + ".part";
    WritePcm16(temporary, frames, channelCount, sampleRate);
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw std::runtime_error("cannot rename " + temporary + " to " + path);
    }
    return WaveFileInfo{static_cast<double>(end) / sampleRate, peakDbfs};
}

}  // namespace orvane::bellsynth
