#include "sound/core/SampleBuffer.h"

#include "sound/core/SndfileLibrary.h"
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

#include "sound/core/Resampler.h"
#include "sound/core/SoundFileLimits.h"

namespace orvane {

namespace {

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sndfile::Close(file); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

constexpr float kPcmScale = 1.0f / 32768.0f;
constexpr sf_count_t kChunkFrames = 8192;

bool HoldsSixteenBits(int format) {
    const int subtype = format & SF_FORMAT_SUBMASK;
    return subtype == SF_FORMAT_PCM_16 || subtype == SF_FORMAT_PCM_S8 ||
           subtype == SF_FORMAT_PCM_U8;
}

// Reads up to `frames` frames as floats, keeping the first `channels` of `fileChannels`.
std::vector<float> ReadFloats(SNDFILE* file, int fileChannels, int channels, sf_count_t frames) {
    std::vector<float> decoded;
    if (frames > 0 && frames < (sf_count_t{1} << 31)) {
        decoded.reserve(static_cast<std::size_t>(frames) * channels);
    }
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * fileChannels);
    sf_count_t left = frames;
    while (left > 0) {
        const sf_count_t got = sndfile::ReadfFloat(file, chunk.data(), std::min(left, kChunkFrames));
        if (got <= 0) {
            break;
        }
        for (sf_count_t i = 0; i < got; ++i) {
            for (int c = 0; c < channels; ++c) {
                decoded.push_back(chunk[static_cast<std::size_t>(i * fileChannels + c)]);
            }
        }
        left -= got;
    }
    return decoded;
}

std::int16_t ToPcm16(float value) {
    const float scaled = std::nearbyint(value * 32768.0f);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

// The decode of one sound file into a SampleBuffer of known length, head first.
class FileDecode final : public SampleDecode {
  public:
    FileDecode(SndFilePtr file, const SF_INFO& info, int sampleRate)
        : file_(std::move(file)),
          fileChannels_(info.channels),
          channels_(info.channels >= 2 ? 2 : 1),
          fileFrames_(info.frames),
          fileRate_(info.samplerate),
          resampler_(info.samplerate, sampleRate),
          resampling_(info.samplerate != sampleRate) {
        buffer_ = std::make_shared<SampleBuffer>(channels_, sampleRate,
                                                 resampler_.OutputFrames(fileFrames_),
                                                 HoldsSixteenBits(info.format));
    }

    const std::shared_ptr<SampleBuffer>& Buffer() const override { return buffer_; }

    void Head(double headSeconds) override {
        if (buffer_->ReadyFrames() > 0 || buffer_->Complete()) {
            return;
        }
        const auto head = static_cast<sf_count_t>(std::ceil(headSeconds * fileRate_));
        HeadFrames(std::max<sf_count_t>(head, 1));
    }

    bool Failed() const override {
        return fileFrames_ > 0 && buffer_->Complete() && buffer_->Frames() == 0;
    }

    // Decodes the first `fileFrames` frames of the file (all of them when larger) and
    // publishes their output frames.
    void HeadFrames(sf_count_t fileFrames) {
        fileFrames = std::min(fileFrames, fileFrames_);
        if (!resampling_) {
            Copy(fileFrames);
            return;
        }
        // The output frames of the head depend on the input up to the kernel's half width past
        // the head; read that much so they equal the frames of the whole decode.
        const sf_count_t margin = resampler_.HalfWidth() + 2;
        const sf_count_t extent = std::min(fileFrames + margin, fileFrames_);
        headInput_ = ReadFloats(file_.get(), fileChannels_, channels_, extent);
        const std::int64_t got = static_cast<std::int64_t>(headInput_.size()) / channels_;
        const std::vector<float> out = resampler_.Process(headInput_.data(), got, channels_);
        const std::int64_t ready = got == fileFrames_ ? resampler_.OutputFrames(got)
                                                      : resampler_.OutputFrames(fileFrames);
        Store(out.data(), 0, std::min<std::int64_t>(ready, buffer_->Frames()));
        if (got < extent) {
            End(ready);
        }
    }

    void Finish() override {
        if (buffer_->Complete()) {
            return;
        }
        if (!resampling_) {
            Copy(fileFrames_ - buffer_->ReadyFrames());
            if (!buffer_->Complete()) {
                End(buffer_->ReadyFrames());  // the file held fewer frames than it claimed
            }
            return;
        }
        // The whole input again: the kernel of every frame sees the same input as one decode.
        std::vector<float> input = std::move(headInput_);
        const std::vector<float> rest = ReadFloats(file_.get(), fileChannels_, channels_,
                                                   fileFrames_ - input.size() / channels_);
        input.insert(input.end(), rest.begin(), rest.end());
        const std::int64_t got = static_cast<std::int64_t>(input.size()) / channels_;
        const std::vector<float> out = resampler_.Process(input.data(), got, channels_);
        const std::int64_t from = buffer_->ReadyFrames();
        const std::int64_t to = std::min<std::int64_t>(resampler_.OutputFrames(got), buffer_->Frames());
        if (to > from) {
            Store(out.data() + from * channels_, from, to - from);
        }
        End(std::max(from, to));
    }

  private:
    // Without resampling: reads `frames` more file frames straight into the buffer.
    void Copy(sf_count_t frames) {
        std::int64_t at = buffer_->ReadyFrames();
        const std::int64_t end = std::min<std::int64_t>(at + frames, buffer_->Frames());
        std::vector<std::int16_t> shorts;
        std::vector<float> floats;
        while (at < end) {
            const sf_count_t want = std::min<sf_count_t>(end - at, kChunkFrames);
            sf_count_t got = 0;
            if (buffer_->IsPcm16()) {
                shorts.resize(static_cast<std::size_t>(want) * fileChannels_);
                got = sndfile::ReadfShort(file_.get(), shorts.data(), want);
                std::int16_t* dst = buffer_->WritablePcm16() + at * channels_;
                for (sf_count_t i = 0; i < got; ++i) {
                    for (int c = 0; c < channels_; ++c) {
                        const std::int16_t s = shorts[static_cast<std::size_t>(i * fileChannels_ + c)];
                        dst[i * channels_ + c] = s;
                        peak_ = std::max(peak_, std::abs(static_cast<float>(s)) * kPcmScale);
                    }
                }
            } else {
                floats.resize(static_cast<std::size_t>(want) * fileChannels_);
                got = sndfile::ReadfFloat(file_.get(), floats.data(), want);
                float* dst = buffer_->WritableFloats() + at * channels_;
                for (sf_count_t i = 0; i < got; ++i) {
                    for (int c = 0; c < channels_; ++c) {
                        const float s = floats[static_cast<std::size_t>(i * fileChannels_ + c)];
                        dst[i * channels_ + c] = s;
                        peak_ = std::max(peak_, std::abs(s));
                    }
                }
            }
            if (got <= 0) {
                End(at);
                return;
            }
            at += got;
            if (at >= buffer_->Frames()) {
                buffer_->SetPeak(peak_);
            }
            buffer_->Publish(at);
        }
    }

    // Writes converted output frames [at, at + frames) and publishes them.
    void Store(const float* samples, std::int64_t at, std::int64_t frames) {
        const std::int64_t n = frames * channels_;
        if (buffer_->IsPcm16()) {
            std::int16_t* dst = buffer_->WritablePcm16() + at * channels_;
            for (std::int64_t i = 0; i < n; ++i) {
                dst[i] = ToPcm16(samples[i]);
                peak_ = std::max(peak_, std::abs(static_cast<float>(dst[i])) * kPcmScale);
            }
        } else {
            float* dst = buffer_->WritableFloats() + at * channels_;
            for (std::int64_t i = 0; i < n; ++i) {
                dst[i] = samples[i];
                peak_ = std::max(peak_, std::abs(samples[i]));
            }
        }
        if (at + frames >= buffer_->Frames()) {
            buffer_->SetPeak(peak_);
        }
        buffer_->Publish(at + frames);
    }

    // The sound ends at `frames`.
    void End(std::int64_t frames) {
        buffer_->Truncate(frames);
        buffer_->SetPeak(peak_);
        buffer_->Publish(frames);
    }

    SndFilePtr file_;
    int fileChannels_;
    int channels_;
    sf_count_t fileFrames_;
    int fileRate_;
    Resampler resampler_;
    bool resampling_;
    float peak_ = 0.0f;
    std::vector<float> headInput_;
    std::shared_ptr<SampleBuffer> buffer_;
};

// Opens a sound file; the error when it cannot be decoded.
DecodeError OpenFile(const QString& path, SndFilePtr& file, SF_INFO& sfInfo) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        return DecodeError::kNotFound;
    }
    const QByteArray nativePath = QFile::encodeName(path);
    file.reset(sndfile::Open(nativePath.constData(), SFM_READ, &sfInfo));
    if (!file || !SoundFileClaimsFit(sfInfo.samplerate, sfInfo.channels, sfInfo.frames)) {
        return DecodeError::kCannotDecode;
    }
    // Integer samples map to -1..1; float files are taken as they are.
    sndfile::Command(file.get(), SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    return DecodeError::kNone;
}

// The length of a compressed file is an estimate: such files are read to their end.
bool LengthIsExact(const SF_INFO& info) {
    const int major = info.format & SF_FORMAT_TYPEMASK;
    return major != SF_FORMAT_MPEG && major != SF_FORMAT_OGG && info.frames > 0 &&
           info.frames < (sf_count_t{1} << 31);
}

}  // namespace

SampleBuffer::SampleBuffer(int channelCount, int rate, std::int64_t frames, bool pcm16)
    : channels(channelCount), sampleRate(rate), frames_(frames), pcm16_(pcm16) {
    size_ = static_cast<std::size_t>(std::max<std::int64_t>(frames, 0) * channelCount);
    if (pcm16) {
        pcm_ = std::make_unique_for_overwrite<std::int16_t[]>(size_);
    } else {
        float_ = std::make_unique_for_overwrite<float[]>(size_);
    }
}

float SampleBuffer::At(std::int64_t frame, int channel) const {
    const auto index = static_cast<std::size_t>(frame * channels + channel);
    return pcm16_ ? static_cast<float>(pcm_[index]) * kPcmScale : float_[index];
}

std::vector<float> SampleBuffer::ToFloats() const {
    const std::int64_t frames = ReadyFrames();
    std::vector<float> out(static_cast<std::size_t>(frames * channels));
    for (std::int64_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            out[static_cast<std::size_t>(i * channels + c)] = At(i, c);
        }
    }
    return out;
}

void SampleBuffer::Truncate(std::int64_t frames) {
    frames_.store(std::min(frames, Frames()), std::memory_order_release);
}

std::int64_t SampleBuffer::Bytes() const {
    return static_cast<std::int64_t>(size_ * (pcm16_ ? sizeof(std::int16_t) : sizeof(float)));
}

DecodeResult DecodeSampleHead(const QString& path, int sampleRate, double headSeconds,
                              std::unique_ptr<SampleDecode>* rest) {
    DecodeResult result;
    SF_INFO sfInfo{};
    SndFilePtr file;
    result.error = OpenFile(path, file, sfInfo);
    if (result.error != DecodeError::kNone) {
        return result;
    }
    if (!LengthIsExact(sfInfo)) {
        result = DecodeSampleFile(path, sampleRate);
        return result;
    }
    auto decode = std::make_unique<FileDecode>(std::move(file), sfInfo, sampleRate);
    decode->Head(headSeconds);
    if (decode->Failed()) {
        result.error = DecodeError::kCannotDecode;  // the header read, the samples did not
        return result;
    }
    result.buffer = decode->Buffer();
    if (rest != nullptr && !decode->Buffer()->Complete()) {
        *rest = std::move(decode);
    } else {
        decode->Finish();
    }
    return result;
}

DecodeResult OpenSampleFile(const QString& path, int sampleRate,
                            std::unique_ptr<SampleDecode>* decode) {
    DecodeResult result;
    SF_INFO sfInfo{};
    SndFilePtr file;
    result.error = OpenFile(path, file, sfInfo);
    if (result.error != DecodeError::kNone || !LengthIsExact(sfInfo)) {
        return result;
    }
    auto opened = std::make_unique<FileDecode>(std::move(file), sfInfo, sampleRate);
    result.buffer = opened->Buffer();
    *decode = std::move(opened);
    return result;
}

DecodeResult DecodeSampleFile(const QString& path, int sampleRate) {
    DecodeResult result;
    SF_INFO sfInfo{};
    SndFilePtr file;
    result.error = OpenFile(path, file, sfInfo);
    if (result.error != DecodeError::kNone) {
        return result;
    }
    if (LengthIsExact(sfInfo)) {
        FileDecode decode(std::move(file), sfInfo, sampleRate);
        decode.Finish();
        if (decode.Buffer()->Frames() == 0 && sfInfo.frames > 0) {
            result.error = DecodeError::kCannotDecode;
            return result;
        }
        result.buffer = decode.Buffer();
        return result;
    }

    // The frame count of compressed formats is an estimate, so read until the end.
    const int fileChannels = sfInfo.channels;
    const int channels = fileChannels >= 2 ? 2 : 1;
    std::vector<float> decoded =
        ReadFloats(file.get(), fileChannels, channels, std::numeric_limits<sf_count_t>::max());
    if (sndfile::Error(file.get()) != SF_ERR_NO_ERROR) {
        result.error = DecodeError::kCannotDecode;
        return result;
    }
    const std::int64_t frames = static_cast<std::int64_t>(decoded.size()) / channels;
    std::vector<float> samples;
    if (sfInfo.samplerate == sampleRate) {
        samples = std::move(decoded);
    } else {
        const Resampler resampler(sfInfo.samplerate, sampleRate);
        samples = resampler.Process(decoded.data(), frames, channels);
    }
    const std::int64_t outFrames = static_cast<std::int64_t>(samples.size()) / channels;
    auto buffer = std::make_shared<SampleBuffer>(channels, sampleRate, outFrames, false);
    float peak = 0.0f;
    for (float s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    std::copy(samples.begin(), samples.end(), buffer->WritableFloats());
    buffer->SetPeak(peak);
    buffer->Publish(outFrames);
    result.buffer = std::move(buffer);
    return result;
}

}  // namespace orvane
