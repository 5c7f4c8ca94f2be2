#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <thread>

#include "sound/core/AudioEngine.h"
#include "sound/EngineTestSupport.h"
#include "sound/core/FrameClock.h"
#include "sound/core/OfflineOutput.h"
#include "sound/core/PeakLimiter.h"
#include "sound/core/SdlOutput.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// An engine on an offline output of 128-frame buffers at 48 kHz, with sounds in a temp folder.
class EngineMix : public ::testing::Test {
  protected:
    EngineMix() {
        auto output = std::make_unique<OfflineOutput>();
        output_ = output.get();
        engine_ = std::make_unique<AudioEngine>(std::move(output));
        engine_->SetStartLog(true);
    }

    QString Sound(const QString& name, int channels, const std::vector<float>& samples) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(test::WriteFloatWav(path, 48000, channels, samples));
        return path;
    }

    AudioEngine::VoiceId Open(const QString& path) {
        AudioEngine::VoiceId voice = -1;
        EXPECT_EQ(engine_->OpenVoice(path, voice), EngineError::kNone);
        return voice;
    }

    float L(const std::vector<float>& s, std::int64_t frame) { return s[2 * frame]; }
    float R(const std::vector<float>& s, std::int64_t frame) { return s[2 * frame + 1]; }

    QTemporaryDir dir_;
    OfflineOutput* output_ = nullptr;
    std::unique_ptr<AudioEngine> engine_;
};

TEST_F(EngineMix, OverlappingVoicesSumAndEnd) {
    const QString a = Sound("a.wav", 1, test::Constant(1000, {0.25f}));
    const QString b = Sound("b b.wav", 2, test::Constant(500, {0.125f, -0.5f}));
    const auto va = Open(a);
    const auto vb = Open(b);
    ASSERT_NE(va, vb);
    EXPECT_FALSE(engine_->IsVoicePlaying(va));  // open, not played
    ASSERT_EQ(engine_->PlayVoice(va), EngineError::kNone);
    ASSERT_EQ(engine_->PlayVoiceAt(vb, 300), EngineError::kNone);
    EXPECT_TRUE(engine_->IsVoicePlaying(va));  // taken by the audio thread only at the next buffer
    EXPECT_TRUE(engine_->IsVoicePlaying(vb));

    const std::vector<float> out = output_->Render(2000);
    for (std::int64_t f : {0, 299}) {
        EXPECT_FLOAT_EQ(L(out, f), 0.25f) << f;
        EXPECT_FLOAT_EQ(R(out, f), 0.25f) << f;
    }
    for (std::int64_t f : {300, 650, 799}) {
        EXPECT_FLOAT_EQ(L(out, f), 0.375f) << f;
        EXPECT_FLOAT_EQ(R(out, f), -0.25f) << f;
    }
    EXPECT_FLOAT_EQ(L(out, 800), 0.25f);
    EXPECT_FLOAT_EQ(R(out, 999), 0.25f);
    EXPECT_EQ(L(out, 1000), 0.0f);
    EXPECT_EQ(R(out, 1999), 0.0f);

    EXPECT_FALSE(engine_->IsVoicePlaying(va));
    EXPECT_FALSE(engine_->IsVoicePlaying(vb));
    EXPECT_EQ(engine_->AudioMixer().ActiveVoiceCount(), 0);
    const std::vector<VoiceStart> starts = engine_->TakeVoiceStarts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].path, a);
    EXPECT_EQ(starts[0].frame, 0);
    EXPECT_EQ(starts[1].path, b);
    EXPECT_EQ(starts[1].frame, 300);
}

TEST_F(EngineMix, VoicePlaysUntilItsLastFrame) {
    const auto v = Open(Sound("short.wav", 1, test::Constant(200, {0.5f})));
    engine_->PlayVoice(v);
    output_->Render(128);
    EXPECT_TRUE(engine_->IsVoicePlaying(v));
    output_->Render(71);  // frame 199 not yet rendered
    EXPECT_TRUE(engine_->IsVoicePlaying(v));
    output_->Render(1);
    EXPECT_FALSE(engine_->IsVoicePlaying(v));
    EXPECT_EQ(engine_->VoiceStartFrame(v), 0);
    EXPECT_TRUE(engine_->IsVoiceOpen(v));

    // Playing it again restarts it from its beginning at the next buffer.
    engine_->PlayVoice(v);
    EXPECT_TRUE(engine_->IsVoicePlaying(v));
    EXPECT_EQ(engine_->VoiceStartFrame(v), std::nullopt);
    const std::vector<float> out = output_->Render(300);
    EXPECT_EQ(engine_->VoiceStartFrame(v), 200);
    EXPECT_FLOAT_EQ(L(out, 0), 0.5f);
    EXPECT_FLOAT_EQ(L(out, 199), 0.5f);
    EXPECT_EQ(L(out, 200), 0.0f);
}

TEST_F(EngineMix, ScheduledStartLandsOnItsFrame) {
    // Below the limiter's ceiling, so that the click passes unchanged.
    const auto v = Open(Sound("click.wav", 1, test::Constant(10, {0.5f})));
    output_->Render(256);
    // Frame 1000 lies in the buffer of frames 896..1023.
    engine_->PlayVoiceAt(v, 1000);
    const std::vector<float> out = output_->Render(1024);
    for (std::int64_t f = 0; f < 1024; ++f) {
        const bool inside = f >= 1000 - 256 && f < 1010 - 256;
        ASSERT_EQ(L(out, f), inside ? 0.5f : 0.0f) << "frame " << f + 256;
    }
    EXPECT_EQ(engine_->VoiceStartFrame(v), 1000);

    // A frame that has passed starts the voice at the next buffer, which is where it is reported.
    engine_->PlayVoiceAt(v, 5);
    output_->Render(128);
    EXPECT_EQ(engine_->VoiceStartFrame(v), 1280);
    // Nothing scheduled: the next buffer as well.
    engine_->PlayVoiceAt(v, std::nullopt);
    output_->Render(3);
    EXPECT_EQ(engine_->VoiceStartFrame(v), 1408);
}

TEST_F(EngineMix, GainActsOnARingingVoice) {
    const auto v = Open(Sound("long.wav", 2, test::Constant(48000, {0.5f, 0.5f})));
    quint32 word = 0;
    ASSERT_TRUE(engine_->ReadVolumeWord(word));
    EXPECT_EQ(word, 0xFFFFFFFFu);
    engine_->PlayVoice(v);
    std::vector<float> out = output_->Render(1024);
    EXPECT_FLOAT_EQ(L(out, 1000), 0.5f);

    engine_->WriteVolumeWord(0x0000FF00u | (0x4000u << 16));
    ASSERT_TRUE(engine_->ReadVolumeWord(word));
    EXPECT_EQ(word, 0x4000FF00u);
    out = output_->Render(1024);
    // The change is ramped within the first buffer; after it both channels hold their level.
    EXPECT_NEAR(L(out, 500), 0.5f * 0xFF00 / 65535.0f, 1e-6f);
    EXPECT_NEAR(R(out, 500), 0.5f * 0x4000 / 65535.0f, 1e-6f);
    EXPECT_LT(std::abs(R(out, 1) - R(out, 0)), 0.01f);  // no jump

    engine_->WriteVolumeWord(0);
    output_->Render(128);
    out = output_->Render(128);
    EXPECT_EQ(L(out, 0), 0.0f);
    EXPECT_EQ(R(out, 127), 0.0f);
    EXPECT_TRUE(engine_->IsVoicePlaying(v));  // silent, still ringing
}

TEST_F(EngineMix, LoudSumsAreLimitedBelowFullScaleNotWrapped) {
    const QString path = Sound("loud.wav", 1, test::Constant(100, {0.75f}));
    for (int i = 0; i < 3; ++i) {
        engine_->PlayVoice(Open(path));
    }
    const std::vector<float> out = output_->Render(100);
    EXPECT_FLOAT_EQ(L(out, 50), PeakLimiter::kCeiling);
}

TEST_F(EngineMix, ClosingSilencesAndReleasesTheSoundOffTheAudioThread) {
    const QString path = Sound("ring.wav", 1, test::Constant(48000, {0.5f}));
    const auto v = Open(path);
    std::weak_ptr<const SampleBuffer> sound = engine_->Cache().Get(path).buffer;
    engine_->Cache().WaitIdle();  // the background decode has let go of the sound
    engine_->Cache().Clear();
    engine_->PlayVoice(v);
    output_->Render(256);
    ASSERT_EQ(engine_->CloseVoice(v), EngineError::kNone);
    EXPECT_FALSE(engine_->IsVoiceOpen(v));
    EXPECT_FALSE(engine_->IsVoicePlaying(v));
    // The audio thread has not yet seen the close: the sound must still be alive.
    EXPECT_FALSE(sound.expired());
    const std::vector<float> out = output_->Render(128);
    EXPECT_EQ(L(out, 0), 0.0f);
    EXPECT_FALSE(sound.expired());  // released only by the UI thread
    engine_->Collect();
    EXPECT_TRUE(sound.expired());
    EXPECT_EQ(engine_->CloseVoice(v), EngineError::kBadVoice);
    EXPECT_EQ(engine_->PlayVoice(v), EngineError::kBadVoice);
}

TEST_F(EngineMix, PoolHasAFixedNumberOfVoices) {
    const QString path = Sound("x.wav", 1, test::Constant(10, {0.1f}));
    std::vector<AudioEngine::VoiceId> voices;
    for (int i = 0; i < AudioEngine::kVoiceCount; ++i) {
        voices.push_back(Open(path));
    }
    AudioEngine::VoiceId extra = 0;
    EXPECT_EQ(engine_->OpenVoice(path, extra), EngineError::kNoFreeVoice);
    EXPECT_EQ(extra, -1);
    for (const auto v : voices) {
        engine_->PlayVoice(v);
    }
    output_->Render(128);
    EXPECT_EQ(engine_->CloseVoice(voices[7]), EngineError::kNone);
    EXPECT_EQ(Open(path), voices[7]);
    EXPECT_EQ(engine_->Cache().DecodeCount(), 1);
}

TEST(EngineNoDevice, RejectsEverything) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.wav");
    ASSERT_TRUE(test::WriteFloatWav(path, 48000, 1, test::Constant(10, {0.1f})));
    AudioEngine engine(std::make_unique<OfflineOutput>(OfflineOutput::Options{48000, 128, false}));
    EXPECT_FALSE(engine.HasDevice());
    AudioEngine::VoiceId v = 0;
    EXPECT_EQ(engine.OpenVoice(path, v), EngineError::kNoDevice);
    EXPECT_EQ(engine.PlayVoice(0), EngineError::kNoDevice);
    EXPECT_EQ(engine.CloseVoice(0), EngineError::kNoDevice);
    quint32 word = 0;
    EXPECT_FALSE(engine.ReadVolumeWord(word));
    engine.WriteVolumeWord(0);
}

TEST(FrameClock, FollowsJitteryCallbacksOnASteadyLine) {
    FrameClock clock(48000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(clock.FrameAt(start), std::nullopt);
    // Callbacks of 128 frames, each reported up to 1 ms late, in a fixed pseudo-random pattern.
    std::uint32_t seed = 12345;
    const auto exactTime = [&](std::int64_t frame) {
        return start + std::chrono::nanoseconds(frame * 1'000'000'000 / 48000);
    };
    std::int64_t lowest = 1 << 30;
    std::int64_t highest = -(1 << 30);
    for (std::int64_t frame = 0; frame < 48000 * 10; frame += 128) {
        seed = seed * 1664525u + 1013904223u;
        const auto late = std::chrono::microseconds((seed >> 8) % 1000);
        clock.OnBuffer(frame, 128, exactTime(frame) + late);
        if (frame > 48000 * 5) {
            const std::int64_t error = *clock.FrameAt(exactTime(frame)) - frame;
            lowest = std::min(lowest, error);
            highest = std::max(highest, error);
        }
    }
    // Once locked, the line runs about half the mean lateness behind the true frame and wanders
    // by far less than the 48 frames by which single callbacks scatter.
    EXPECT_NEAR(static_cast<double>(lowest + highest) / 2.0, -24.0, 12.0);
    EXPECT_LE(highest - lowest, 16);
    EXPECT_NEAR(clock.NanosecondsPerFrame(), 1e9 / 48000, 1e9 / 48000 * 1e-4);

    // A gap (a stall, or a restart of the count) starts a new line at once.
    const std::int64_t probe = 48000 * 10;
    clock.OnBuffer(0, 128, exactTime(probe) + 1s);
    EXPECT_EQ(clock.FrameAt(exactTime(probe) + 1s), 0);
}

// SDL's dummy driver opens without a sound card; a driver that does not exist means no device.
TEST(SdlOutput, OpensThroughSdlAndReportsNoDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        auto output = std::make_unique<SdlOutput>();
        SdlOutput* sdl = output.get();
        AudioEngine engine(std::move(output));
        ASSERT_TRUE(engine.HasDevice());
        EXPECT_GT(sdl->SampleRate(), 0);
        EXPECT_GT(sdl->BufferFrames(), 0);
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (engine.FramesRendered() < 4 * sdl->BufferFrames() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        EXPECT_GE(engine.FramesRendered(), 4 * sdl->BufferFrames());
    }
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        AudioEngine engine(std::make_unique<SdlOutput>());
        EXPECT_FALSE(engine.HasDevice());
        AudioEngine::VoiceId v = 0;
        EXPECT_EQ(engine.OpenVoice("/nonexistent.wav", v), EngineError::kNoDevice);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace orvane
