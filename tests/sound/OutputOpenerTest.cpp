#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "sound/EngineTestSupport.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OutputOpener.h"
#include "sound/core/SdlLibrary.h"
#include "sound/core/SdlOutput.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// What the fake output saw, kept apart from it so that it can be read after the output is gone.
struct OutputLog {
    std::atomic<int> opens{0};
    std::atomic<int> starts{0};
    std::atomic<int> stops{0};
    std::thread::id openThread;
    std::atomic<bool> openEnded{false};
    AudioRenderer* renderer = nullptr;
};

// An output at 44.1 kHz whose open takes `openTime` and succeeds when `opens` is true; the
// test renders its buffers by hand through the renderer it was started with.
class SlowOutput final : public AudioOutput {
  public:
    SlowOutput(OutputLog& log, bool opens, std::chrono::milliseconds openTime)
        : log_(log), opens_(opens), openTime_(openTime) {}
    bool Open() override {
        ++log_.opens;
        log_.openThread = std::this_thread::get_id();
        std::this_thread::sleep_for(openTime_);
        log_.openEnded = true;
        return opens_;
    }
    void Start(AudioRenderer* renderer) override {
        ++log_.starts;
        log_.renderer = renderer;
    }
    void Stop() override { ++log_.stops; }
    int SampleRate() const override { return 44100; }
    int BufferFrames() const override { return 64; }

  private:
    OutputLog& log_;
    const bool opens_;
    const std::chrono::milliseconds openTime_;
};

// The engine waits for a device that is still opening, opens nothing itself, runs at the
// device's rate, and a strike made at once after the late open sounds in the first buffer.
TEST(OutputOpener, EngineUsesTheDeviceOpenedLateAndLosesNoFirstStrike) {
    QTemporaryDir dir;
    const QString sound = dir.filePath(QStringLiteral("bell.wav"));
    ASSERT_TRUE(test::WriteFloatWav(sound, 44100, 1, test::Constant(4410, {0.5f})));

    OutputLog log;
    OutputOpener opener(std::make_unique<SlowOutput>(log, true, 80ms));
    AudioEngine engine(opener.Take());
    EXPECT_TRUE(log.openEnded);
    EXPECT_EQ(log.opens, 1);
    EXPECT_NE(log.openThread, std::this_thread::get_id());
    ASSERT_TRUE(engine.HasDevice());
    EXPECT_EQ(engine.SampleRate(), 44100);
    EXPECT_EQ(engine.BufferFrames(), 64);
    ASSERT_EQ(log.starts, 1);
    ASSERT_NE(log.renderer, nullptr);
    EXPECT_EQ(opener.Take(), nullptr);

    AudioEngine::VoiceId voice = -1;
    ASSERT_EQ(engine.OpenVoice(sound, voice), EngineError::kNone);
    ASSERT_EQ(engine.PlayVoice(voice), EngineError::kNone);
    // The sound was never prepared: its head is decoded off this thread first.
    engine.Cache().WaitIdle();
    std::vector<float> buffer(2 * 64, 0.0f);
    log.renderer->RenderAudio(buffer.data(), 64, std::chrono::steady_clock::now());
    EXPECT_GT(*std::max_element(buffer.begin(), buffer.end()), 0.1f);
    EXPECT_EQ(engine.FramesRendered(), 64);
}

// A device that did not open early is the "no device" case: every command is rejected, the
// open is not tried again on the caller's thread and nothing is started; the output is still
// stopped when the engine goes.
TEST(OutputOpener, FailedEarlyOpenIsNoDeviceWithoutASecondTry) {
    OutputLog log;
    {
        OutputOpener opener(std::make_unique<SlowOutput>(log, false, 20ms));
        AudioEngine engine(opener.Take());
        EXPECT_FALSE(engine.HasDevice());
        AudioEngine::VoiceId voice = 0;
        EXPECT_EQ(engine.OpenVoice(QStringLiteral("/nonexistent.wav"), voice),
                  EngineError::kNoDevice);
        EXPECT_EQ(engine.PlayVoice(0), EngineError::kNoDevice);
        EXPECT_EQ(log.opens, 1);
        EXPECT_EQ(log.starts, 0);
    }
    EXPECT_GE(log.stops, 1);
}

// A program that ends before it builds its window (asked to end during the start) waits for
// the open and closes the device again.
TEST(OutputOpener, OutputNeverTakenIsClosed) {
    OutputLog log;
    { OutputOpener opener(std::make_unique<SlowOutput>(log, true, 30ms)); }
    EXPECT_TRUE(log.openEnded);
    EXPECT_EQ(log.opens, 1);
    EXPECT_EQ(log.starts, 0);
    EXPECT_GE(log.stops, 1);
    OutputOpener empty(nullptr);
    EXPECT_EQ(empty.Take(), nullptr);
}

// The sound library is bound on first use, and a device opened through it on another thread
// plays from the engine on this one (SDL's dummy driver needs no card).
TEST(OutputOpener, SdlDeviceOpenedOnAnotherThreadPlays) {
    SdlLibrary missing;
    EXPECT_FALSE(missing.Load("liborvane-no-such-library.so.0"));
    ASSERT_NE(SdlLibrary::Get(), nullptr);
    EXPECT_EQ(SdlLibrary::Get(), SdlLibrary::Get());

    setenv("SDL_AUDIODRIVER", "dummy", 1);
    OutputOpener opener(std::make_unique<SdlOutput>());
    AudioEngine engine(opener.Take());
    ASSERT_TRUE(engine.HasDevice());
    EXPECT_GT(engine.SampleRate(), 0);
    const std::int64_t wanted = 4 * std::int64_t(engine.BufferFrames());
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (engine.FramesRendered() < wanted && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_GE(engine.FramesRendered(), wanted);
}

}  // namespace
}  // namespace orvane
