// The output through a JACK server of the test's own (dummy driver, a name of its own), and the
// choice between it and the sound card.

#include "JackMidiSource.h"
#include "sound/core/JackOutput.h"
#include "sound/core/JackSupport.h"
#include "sound/core/SystemOutput.h"

#include <gtest/gtest.h>
#include <jack/jack.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace orvane;

namespace {

std::string UniqueName(const char* what) {
    return std::string("orvane-test-out-") + what + "-" + std::to_string(::getpid());
}

template <class F>
bool WaitFor(F done, int ms = 5000) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Left 0.25, right -0.5, and how many frames it was asked for.
class ConstantRenderer : public AudioRenderer {
public:
    void RenderAudio(float* out, int frames, std::chrono::steady_clock::time_point) override {
        for (int i = 0; i < frames; ++i) {
            out[2 * i] = 0.25f;
            out[2 * i + 1] = -0.5f;
        }
        largest = std::max(largest.load(), frames);
        this->frames += frames;
    }
    std::atomic<std::int64_t> frames{0};
    std::atomic<int> largest{0};
};

// A client with two audio inputs that keeps the last sample of each.
class Listener {
public:
    bool Open() {
        client_ = jack_client_open("listener", JackNoStartServer, nullptr);
        if (!client_) {
            return false;
        }
        in_[0] = jack_port_register(client_, "in_1", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        in_[1] = jack_port_register(client_, "in_2", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &Listener::Process, this);
        return jack_activate(client_) == 0;
    }
    ~Listener() {
        if (client_) {
            jack_deactivate(client_);
            jack_client_close(client_);
        }
    }
    bool Connect(const std::vector<std::string>& from) {
        return from.size() == 2 && jack_connect(client_, from[0].c_str(), jack_port_name(in_[0])) == 0 &&
               jack_connect(client_, from[1].c_str(), jack_port_name(in_[1])) == 0;
    }
    std::atomic<float> last[2] = {0.0f, 0.0f};

private:
    static int Process(jack_nframes_t frames, void* self) {
        auto* listener = static_cast<Listener*>(self);
        for (int channel = 0; channel < 2; ++channel) {
            const auto* samples = static_cast<const float*>(jack_port_get_buffer(listener->in_[channel], frames));
            listener->last[channel] = samples[frames - 1];
        }
        return 0;
    }
    jack_client_t* client_ = nullptr;
    jack_port_t* in_[2] = {nullptr, nullptr};
};

// An output that opens or not, for the choice.
class FakeOutput : public AudioOutput {
public:
    FakeOutput(bool opens, int rate) : opens_(opens), rate_(rate) {}
    bool Open() override { return opens_; }
    void Start(AudioRenderer*) override { started = true; }
    void Stop() override { started = false; }
    int SampleRate() const override { return rate_; }
    int BufferFrames() const override { return 64; }
    bool started = false;

private:
    bool opens_;
    int rate_;
};

}  // namespace

TEST(JackOutput, MixReachesBothPortsAtTheServersRateAndPeriodAndPlaybackIsConnected) {
    if (!midisend::JackServer::Installed()) {
        GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
    }
    midisend::JackServer server;
    ASSERT_TRUE(server.Start(UniqueName("mix"), 64)) << "the JACK dummy server did not start";
    EXPECT_TRUE(JackServerMayRun());

    JackOutput output("OrvaneTest");
    ASSERT_TRUE(output.Open());
    EXPECT_EQ(output.SampleRate(), 48000);
    EXPECT_EQ(output.BufferFrames(), 64);
    ASSERT_EQ(output.PortNames().size(), 2u);

    Listener listener;
    ASSERT_TRUE(listener.Open());
    ConstantRenderer renderer;
    output.Start(&renderer);
    ASSERT_TRUE(listener.Connect(output.PortNames()));
    EXPECT_TRUE(WaitFor([&] { return listener.last[0] == 0.25f && listener.last[1] == -0.5f; }))
        << "left " << listener.last[0] << ", right " << listener.last[1];
    EXPECT_LE(renderer.largest.load(), JackOutput::kChunkFrames);

    // The output went to the server's playback ports by itself.
    jack_client_t* probe = jack_client_open("probe", JackNoStartServer, nullptr);
    ASSERT_NE(probe, nullptr);
    jack_port_t* left = jack_port_by_name(probe, output.PortNames()[0].c_str());
    ASSERT_NE(left, nullptr);
    EXPECT_TRUE(jack_port_connected_to(left, "system:playback_1"));
    jack_client_close(probe);

    // Stopped: the renderer is no longer asked.
    output.Stop();
    const std::int64_t frames = renderer.frames.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(renderer.frames.load(), frames);
}

TEST(JackOutput, WithoutAServerItDoesNotOpenStartsNoneAndPrintsNothing) {
    const std::string name = UniqueName("none");
    ::setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    testing::internal::CaptureStderr();
    JackOutput output;
    const bool opened = output.Open();
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(opened);
    EXPECT_FALSE(JackServerMayRun());
    EXPECT_EQ(printed, "");
    EXPECT_NE(std::system(("pgrep -f '^jackd .*" + name + "' >/dev/null").c_str()), 0)
        << "no server was started";
}

TEST(JackOutput, AServerThatGoesAwayLeavesAnOutputThatStopsAndClosesCleanly) {
    if (!midisend::JackServer::Installed()) {
        GTEST_SKIP() << "jackd is not installed (Debian package jackd2)";
    }
    midisend::JackServer server;
    ASSERT_TRUE(server.Start(UniqueName("gone"), 64));
    auto output = std::make_unique<JackOutput>("OrvaneGone");
    ASSERT_TRUE(output->Open());
    ConstantRenderer renderer;
    output->Start(&renderer);
    ASSERT_TRUE(WaitFor([&] { return renderer.frames.load() > 0; }));
    server.Stop();
    output->Stop();
    output.reset();  // must neither hang nor crash
    SUCCEED();
}

TEST(SystemOutput, TakesTheServerWhenItOpensElseTheCardElseNothing) {
    {
        auto jack = std::make_unique<FakeOutput>(true, 44100);
        auto card = std::make_unique<FakeOutput>(true, 48000);
        FakeOutput* jackSeen = jack.get();
        SystemOutput output(std::move(jack), std::move(card));
        ASSERT_TRUE(output.Open());
        EXPECT_TRUE(output.ThroughJack());
        EXPECT_EQ(output.SampleRate(), 44100);
        output.Start(nullptr);
        EXPECT_TRUE(jackSeen->started);
    }
    {
        auto card = std::make_unique<FakeOutput>(true, 48000);
        FakeOutput* cardSeen = card.get();
        SystemOutput output(std::make_unique<FakeOutput>(false, 44100), std::move(card));
        ASSERT_TRUE(output.Open());
        EXPECT_FALSE(output.ThroughJack());
        EXPECT_EQ(output.SampleRate(), 48000);
        output.Start(nullptr);
        EXPECT_TRUE(cardSeen->started);
        output.Stop();
        EXPECT_FALSE(cardSeen->started);
    }
    {
        SystemOutput output(std::make_unique<FakeOutput>(false, 44100), std::make_unique<FakeOutput>(false, 48000));
        EXPECT_FALSE(output.Open());
        EXPECT_EQ(output.SampleRate(), 0);
        EXPECT_EQ(output.BufferFrames(), 0);
    }
}
