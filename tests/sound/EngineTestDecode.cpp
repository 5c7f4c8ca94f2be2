#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>

#include "sound/EngineTestSupport.h"
#include "sound/core/Resampler.h"
#include "sound/core/SampleBuffer.h"
#include "sound/core/SampleCache.h"
#include "sound/core/SoundFileLimits.h"

#include <QtEndian>

namespace orvane {
namespace {

using test::MeasuredHz;
using test::PeakOf;

struct FormatCase {
    int subtype;
    int channels;
    int rate;
};

class DecodeFormats : public ::testing::TestWithParam<FormatCase> {};

// Every WAV variant comes out at 48 kHz with its length scaled, its pitch kept, its level kept
// and its channels in order.
TEST_P(DecodeFormats, KeepsLengthPitchLevelAndChannels) {
    const FormatCase c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("tone.wav");
    const std::int64_t frames = c.rate / 4;
    const std::vector<double> hz =
        c.channels == 1 ? std::vector<double>{440.0} : std::vector<double>{440.0, 660.0};
    ASSERT_TRUE(test::WriteSound(path, c.rate, c.channels, SF_FORMAT_WAV | c.subtype,
                                 test::Sine(c.rate, frames, hz, 0.5)));

    const DecodeResult result = DecodeSampleFile(path, 48000);
    ASSERT_EQ(result.error, DecodeError::kNone);
    const SampleBuffer& buffer = *result.buffer;
    const std::vector<float> samples = buffer.ToFloats();
    EXPECT_EQ(buffer.channels, c.channels);
    EXPECT_EQ(buffer.sampleRate, 48000);
    EXPECT_EQ(buffer.Frames(), (frames * 48000 + c.rate - 1) / c.rate);
    // Away from the edges, where the interpolation kernel meets the silence around the sound.
    const std::int64_t from = 600;
    const std::int64_t to = buffer.Frames() - 600;
    for (int ch = 0; ch < c.channels; ++ch) {
        EXPECT_NEAR(MeasuredHz(samples, c.channels, ch, 48000, from, to), hz[ch], 0.5)
            << "channel " << ch;
        EXPECT_NEAR(PeakOf(samples, c.channels, ch, from, to), 0.5f, 0.01f)
            << "channel " << ch;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wav, DecodeFormats,
    ::testing::Values(
        FormatCase{SF_FORMAT_PCM_U8, 1, 22050}, FormatCase{SF_FORMAT_PCM_U8, 2, 44100},
        FormatCase{SF_FORMAT_PCM_16, 1, 44100}, FormatCase{SF_FORMAT_PCM_16, 2, 22050},
        FormatCase{SF_FORMAT_PCM_16, 2, 96000}, FormatCase{SF_FORMAT_PCM_16, 1, 48000},
        FormatCase{SF_FORMAT_PCM_24, 1, 96000}, FormatCase{SF_FORMAT_PCM_24, 2, 44100},
        FormatCase{SF_FORMAT_FLOAT, 1, 44100}, FormatCase{SF_FORMAT_FLOAT, 2, 96000},
        FormatCase{SF_FORMAT_FLOAT, 2, 22050}, FormatCase{SF_FORMAT_PCM_32, 1, 32000}));

TEST(Resampler, NoInputGivesNoOutputForAnyChannelCount) {
    const float none = 0.0f;
    for (const int channels : {1, 2}) {
        EXPECT_TRUE(Resampler(22050, 48000).Process(&none, 0, channels).empty());
        EXPECT_TRUE(Resampler(1000, 44100).Process(nullptr, 0, channels).empty());
    }
}

TEST(Resampler, KeepsConstantsAndRejectsAliases) {
    // A constant stays exactly constant (every phase of the kernel sums to one).
    const std::vector<float> ones(44100, 1.0f);
    const std::vector<float> up = Resampler(44100, 48000).Process(ones.data(), 44100, 1);
    ASSERT_EQ(up.size(), 48000u);
    for (std::size_t i = 100; i < up.size() - 100; ++i) {
        ASSERT_NEAR(up[i], 1.0f, 1e-5f) << i;
    }
    // A 30 kHz tone does not exist at 48 kHz: lowering the rate must not fold it down to 18 kHz.
    const std::vector<float> high = test::Sine(96000, 96000, {30000.0}, 0.5);
    const std::vector<float> down = Resampler(96000, 48000).Process(high.data(), 96000, 1);
    ASSERT_EQ(down.size(), 48000u);
    EXPECT_LT(PeakOf(down, 1, 0, 200, 47800), 0.5f * 1e-3f);
    // A 15 kHz tone passes at full level.
    const std::vector<float> mid = test::Sine(96000, 96000, {15000.0}, 0.5);
    const std::vector<float> kept = Resampler(96000, 48000).Process(mid.data(), 96000, 1);
    EXPECT_NEAR(PeakOf(kept, 1, 0, 200, 47800), 0.5f, 0.01f);
}

TEST(Decode, ReportsMissingAndUnreadableFiles) {
    QTemporaryDir dir;
    EXPECT_EQ(DecodeSampleFile(dir.filePath("none.wav"), 48000).error, DecodeError::kNotFound);
    EXPECT_EQ(DecodeSampleFile(dir.path(), 48000).error, DecodeError::kNotFound);
    QFile text(dir.filePath("text.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a sound file at all, only some words\n");
    text.close();
    EXPECT_EQ(DecodeSampleFile(text.fileName(), 48000).error, DecodeError::kCannotDecode);
}

// A canonical 44-byte PCM WAV header followed by `dataBytes` bytes of silence.
QByteArray TinyWav(quint32 rate, quint16 channels, quint32 claimedDataBytes, int dataBytes) {
    QByteArray b;
    auto u32 = [&b](quint32 v) { v = qToLittleEndian(v); b.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&b](quint16 v) { v = qToLittleEndian(v); b.append(reinterpret_cast<const char*>(&v), 2); };
    b.append("RIFF");
    u32(36 + static_cast<quint32>(dataBytes));
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * 2u * channels);
    u16(static_cast<quint16>(2 * channels));
    u16(16);
    b.append("data");
    u32(claimedDataBytes);
    b.append(QByteArray(dataBytes, '\0'));
    return b;
}

// Headers that claim absurd rates or channel counts are corrupt sound files: decoding them must
// neither tabulate a giant resampling kernel nor reserve memory for what the file claims.
TEST(Decode, RefusesHeadersClaimingOutOfBoundsRatesAndChannels) {
    QTemporaryDir dir;
    struct Case {
        quint32 rate;
        quint16 channels;
        DecodeError expected;
    };
    for (const Case& c : {Case{620801092u, 1, DecodeError::kCannotDecode},
                          Case{384001u, 1, DecodeError::kCannotDecode},
                          Case{999u, 1, DecodeError::kCannotDecode},
                          Case{48000u, 33, DecodeError::kCannotDecode},
                          Case{384000u, 1, DecodeError::kNone},
                          Case{1000u, 2, DecodeError::kNone},
                          Case{22050u, 32, DecodeError::kNone}}) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channels");
        const QByteArray bytes = TinyWav(c.rate, c.channels, 14, 14);
        if (c.rate == 620801092u) {
            ASSERT_EQ(bytes.size(), 58);
        }
        QFile f(dir.filePath("tiny.wav"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const DecodeResult r = DecodeSampleFile(f.fileName(), 48000);
        EXPECT_EQ(r.error, c.expected);
        EXPECT_EQ(r.buffer != nullptr, c.expected == DecodeError::kNone);
    }
}

TEST(Decode, ClaimedLengthIsBoundedByTheLongestSound) {
    const std::int64_t most = SoundFileLimits::kMaxSeconds * 44100;
    EXPECT_TRUE(SoundFileClaimsFit(44100, 2, most));
    EXPECT_FALSE(SoundFileClaimsFit(44100, 2, most + 1));
    EXPECT_TRUE(SoundFileClaimsFit(44100, 2, 0));  // length not known
    EXPECT_FALSE(SoundFileClaimsFit(44100, 0, 100));
    EXPECT_FALSE(SoundFileClaimsFit(-44100, 1, 100));
}

TEST(Decode, ReadsMp3) {
    QTemporaryDir dir;
    const QString path = dir.filePath("voice.mp3");
    const std::vector<float> tone = test::Sine(44100, 44100, {440.0}, 0.5);
    if (!test::WriteSound(path, 44100, 1, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, tone)) {
        GTEST_SKIP() << "this sound file library cannot write MP3";
    }
    const DecodeResult result = DecodeSampleFile(path, 48000);
    ASSERT_EQ(result.error, DecodeError::kNone);
    // Encoder delay and padding add at most a few thousand frames.
    EXPECT_NEAR(static_cast<double>(result.buffer->Frames()), 48000.0, 4000.0);
    EXPECT_NEAR(MeasuredHz(result.buffer->ToFloats(), 1, 0, 48000, 5000, 40000), 440.0, 1.0);
}

TEST(SampleCache, DecodesOncePerVersionOfAFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bell one.wav");
    ASSERT_TRUE(test::WriteFloatWav(path, 48000, 1, test::Constant(1000, {0.25f})));
    SampleCache cache(48000);

    const DecodeResult first = cache.Get(path);
    ASSERT_EQ(first.error, DecodeError::kNone);
    EXPECT_EQ(cache.Get(path).buffer, first.buffer);
    EXPECT_EQ(cache.DecodeCount(), 1);

    // A new version of the file (other content, later modification time) is decoded again; the
    // old sound stays intact for whoever still holds it.
    ASSERT_TRUE(test::WriteFloatWav(path, 48000, 1, test::Constant(2000, {0.5f})));
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    std::filesystem::last_write_time(
        native, std::filesystem::last_write_time(native) + std::chrono::seconds(5));
    const DecodeResult second = cache.Get(path);
    ASSERT_EQ(second.error, DecodeError::kNone);
    EXPECT_NE(second.buffer, first.buffer);
    EXPECT_EQ(second.buffer->Frames(), 2000);
    EXPECT_EQ(first.buffer->Frames(), 1000);
    EXPECT_EQ(first.buffer->At(999, 0), 0.25f);
    EXPECT_EQ(cache.DecodeCount(), 2);
    EXPECT_EQ(cache.EntryCount(), 1);

    // Only the modification time changes: decoded again as well.
    std::filesystem::last_write_time(
        native, std::filesystem::last_write_time(native) + std::chrono::seconds(5));
    EXPECT_NE(cache.Get(path).buffer, second.buffer);
    EXPECT_EQ(cache.DecodeCount(), 3);

    QFile::remove(path);
    EXPECT_EQ(cache.Get(path).error, DecodeError::kNotFound);
    EXPECT_EQ(cache.EntryCount(), 0);
}

TEST(SampleCache, DropsUnusedSoundsOverBudget) {
    QTemporaryDir dir;
    // 48000 frames of float = 192000 bytes each; the budget holds two.
    SampleCache cache(48000, 400000);
    std::vector<std::shared_ptr<const SampleBuffer>> held;
    for (int i = 0; i < 4; ++i) {
        const QString path = dir.filePath(QString("s%1.wav").arg(i));
        ASSERT_TRUE(test::WriteFloatWav(path, 48000, 1, test::Constant(48000, {0.1f})));
        const DecodeResult r = cache.Get(path);
        ASSERT_EQ(r.error, DecodeError::kNone);
        if (i == 0) {
            held.push_back(r.buffer);  // in use: must stay cached
        }
    }
    EXPECT_LE(cache.DecodedBytes(), 400000);
    EXPECT_EQ(cache.Get(dir.filePath("s0.wav")).buffer, held[0]);
    EXPECT_EQ(cache.DecodeCount(), 4);
}

}  // namespace
}  // namespace orvane
