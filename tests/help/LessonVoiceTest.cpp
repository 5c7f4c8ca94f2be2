#include "help/core/LessonVoicePlayer.h"
#include "sound/core/OfflineOutput.h"
#include "sound/core/SampleBuffer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <cmath>

using namespace orvane;

namespace {

// The generated voices of the program folder, each with the least length it must have.
struct Voice {
    const char* file;
    double minSeconds;
};
constexpr Voice kVoices[] = {
    {"malye.mp3", 60}, {"srednie.mp3", 60}, {"bolshie.mp3", 60}, {"programma.mp3", 60}};

double Rms(const std::vector<float>& samples) {
    double sum = 0;
    for (float s : samples) {
        sum += double(s) * s;
    }
    return samples.empty() ? 0 : std::sqrt(sum / double(samples.size()));
}

class LessonVoice : public ::testing::Test {
protected:
    void SetUp() override {
        previous = QDir::currentPath();
        QDir::setCurrent(QStringLiteral(ORVANE_PROGRAM_DIR));
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QString previous;
};

}  // namespace

// The commentary is spoken text: long enough, not silent, and readable by the engine's decoder.
TEST_F(LessonVoice, GeneratedMp3sDecode) {
    for (const Voice& voice : kVoices) {
        const QString path = QStringLiteral(ORVANE_PROGRAM_DIR "/Voice/") + voice.file;
        const DecodeResult decoded = DecodeSampleFile(path, 48000);
        ASSERT_EQ(decoded.error, DecodeError::kNone) << voice.file;
        const double seconds = double(decoded.buffer->Frames()) / 48000.0;
        EXPECT_GT(seconds, voice.minSeconds) << voice.file;
        EXPECT_LT(seconds, 600) << voice.file;
        EXPECT_GT(Rms(decoded.buffer->ToFloats()), 0.01) << voice.file;
    }
}

TEST_F(LessonVoice, PlaysStopsAndPlaysAgainThroughTheEngine) {
    auto output = std::make_unique<OfflineOutput>();
    OfflineOutput* offline = output.get();
    AudioEngine engine(std::move(output));
    LessonVoicePlayer player(QStringLiteral("Voice\\bolshie.mp3"), [&] { return &engine; });
    EXPECT_EQ(player.FilePath(), QStringLiteral(ORVANE_PROGRAM_DIR "/Voice/bolshie.mp3"));
    ASSERT_EQ(player.Open(), EngineError::kNone);
    EXPECT_FALSE(player.IsPlaying());
    ASSERT_EQ(player.Play(), EngineError::kNone);
    offline->Render(48000);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_GT(Rms(offline->Render(48000)), 0.001);
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    offline->Render(4800);
    EXPECT_EQ(Rms(offline->Render(4800)), 0.0);
    ASSERT_EQ(player.Play(), EngineError::kNone);
    EXPECT_TRUE(player.IsPlaying());
    player.Close();
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(engine.OpenVoiceCount(), 0);
}

TEST_F(LessonVoice, MissingFileFailsAndNoDeviceIsSilent) {
    AudioEngine engine(std::make_unique<OfflineOutput>());
    LessonVoicePlayer missing(QStringLiteral("Voice\\none.mp3"), [&] { return &engine; });
    EXPECT_EQ(missing.Open(), EngineError::kNotFound);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Play(), EngineError::kBadVoice);

    OfflineOutput::Options options;
    options.hasDevice = false;
    AudioEngine silent(std::make_unique<OfflineOutput>(options));
    LessonVoicePlayer quiet(QStringLiteral("Voice\\malye.mp3"), [&] { return &silent; });
    EXPECT_EQ(quiet.Open(), EngineError::kNone);
    EXPECT_EQ(quiet.Play(), EngineError::kNone);
    EXPECT_FALSE(quiet.IsPlaying());
    LessonVoicePlayer noEngine(QStringLiteral("Voice\\malye.mp3"), [] { return nullptr; });
    EXPECT_EQ(noEngine.Open(), EngineError::kNone);
    EXPECT_EQ(noEngine.Play(), EngineError::kNone);
}
