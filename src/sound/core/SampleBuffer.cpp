#include "sound/core/SampleBuffer.h"

#include <sndfile.h>
#include <QFile>
#include <QFileInfo>

#include "sound/core/Resampler.h"
#include "sound/core/SoundFileLimits.h"

namespace orvane {

namespace {

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

}  // namespace

DecodeResult DecodeSampleFile(const QString& path, int sampleRate) {
    DecodeResult result;
    const QFileInfo info(path);
    if (!info.isFile()) {
        result.error = DecodeError::kNotFound;
        return result;
    }
    SF_INFO sfInfo{};
    const QByteArray nativePath = QFile::encodeName(path);
    std::unique_ptr<SNDFILE, SndFileCloser> file(
        sf_open(nativePath.constData(), SFM_READ, &sfInfo));
    if (!file || !SoundFileClaimsFit(sfInfo.samplerate, sfInfo.channels, sfInfo.frames)) {
        result.error = DecodeError::kCannotDecode;
        return result;
    }
    // Integer samples map to -1..1; float files are taken as they are.
    sf_command(file.get(), SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);

    // The frame count of compressed formats is an estimate, so read until the end.
    const int fileChannels = sfInfo.channels;
    const int channels = fileChannels >= 2 ? 2 : 1;
    std::vector<float> decoded;
    if (sfInfo.frames > 0 && sfInfo.frames < (std::int64_t{1} << 31)) {
        decoded.reserve(static_cast<std::size_t>(sfInfo.frames) * channels);
    }
    constexpr sf_count_t kChunkFrames = 8192;
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * fileChannels);
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kChunkFrames);
        if (got <= 0) {
            break;
        }
        for (sf_count_t i = 0; i < got; ++i) {
            for (int c = 0; c < channels; ++c) {
                decoded.push_back(chunk[static_cast<std::size_t>(i * fileChannels + c)]);
            }
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        result.error = DecodeError::kCannotDecode;
        return result;
    }

    auto buffer = std::make_shared<SampleBuffer>();
    buffer->channels = channels;
    buffer->sampleRate = sampleRate;
    const std::int64_t frames = static_cast<std::int64_t>(decoded.size()) / channels;
    if (sfInfo.samplerate == sampleRate) {
        buffer->samples = std::move(decoded);
    } else {
        const Resampler resampler(sfInfo.samplerate, sampleRate);
        buffer->samples = resampler.Process(decoded.data(), frames, channels);
    }
    result.buffer = std::move(buffer);
    return result;
}

}  // namespace orvane
