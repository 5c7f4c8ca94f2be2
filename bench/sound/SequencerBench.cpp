// Step onsets of the audio-side sequencer against its grid while the window thread stalls. An
// engine on an offline output driven in real time from its own thread (128-frame buffers at
// 48 kHz, like a sound card) plays a 500-step score of chords of one to eight bells whose tempo
// changes from 50 to 1000 ms per step along the way. This thread acts as the window thread: it
// stalls at random for up to 250 ms at a time (busy, as a long redraw), then sends the tempo
// change that is due, as the tempo slider would.
//
// onset_error_max_frames: the largest distance between a voice's start frame and its step's
// frame on the grid (the previous step's frame plus an interval in use; the voices of one step
// share one frame). late_steps: steps that sounded after their grid frame or not at all. The
// "_sequencer_loaded" figures run while two busy-looping processes compete for the cores, the
// "_sequencer" ones without them. The same figures through the real player: StepOnsetBench.

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "BenchRegistry.h"
#include "sound/BusyLoad.h"
#include "sound/OnsetHarness.h"
#include "sound/SoundFiles.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 48000;

// The tempo segments of the 500-step score.
constexpr auto& kSegments = bench::kOnsetSegments;

struct Result {
    std::int64_t maxError = -1;
    std::int64_t lateSteps = -1;
};

Result Measure(unsigned seed) {
    QTemporaryDir dir;
    QStringList sounds;
    for (int bell = 0; bell < 15; ++bell) {
        sounds << dir.filePath(QString("bell%1.wav").arg(bell));
        if (!bench::WriteBellSound(sounds.back(), 2, 0.25, 200.0 + 40.0 * bell)) {
            return {};
        }
    }
    std::mt19937 random(seed);
    orvane::SequencePlan plan;
    plan.soundPaths = sounds;
    std::uniform_int_distribution<int> chordSize(1, 8);
    for (int step = 0; step < 500; ++step) {
        orvane::SequencePlan::Step s;
        std::vector<int> bells(15);
        std::iota(bells.begin(), bells.end(), 0);
        std::shuffle(bells.begin(), bells.end(), random);
        bells.resize(static_cast<std::size_t>(chordSize(random)));
        for (const int bell : bells) {
            s.strokes.push_back({bell, -1});
        }
        plan.steps.push_back(std::move(s));
    }

    auto output =
        std::make_unique<orvane::OfflineOutput>(orvane::OfflineOutput::Options{kRate, 128, true});
    orvane::OfflineOutput* offline = output.get();
    orvane::AudioEngine engine(std::move(output));
    engine.SetStartLog(true);
    engine.Preload(sounds);
    engine.Cache().WaitIdle();
    orvane::StepSequencer& seq = engine.Sequencer();
    engine.LoadSequence(std::move(plan));
    seq.SetInterval(kSegments[0].second);
    bench::RealTimeDriver driver(*offline);
    driver.Start();
    seq.Play();
    const auto started = Clock::now() + std::chrono::seconds(1);
    while (seq.StepsPlayed() == 0 && Clock::now() < started) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    std::uniform_int_distribution<int> stallUs(0, 250'000);
    std::vector<orvane::VoiceStart> starts;
    std::size_t segment = 0;
    int boundary = kSegments[0].first;
    const auto giveUp = Clock::now() + std::chrono::seconds(120);
    while (seq.Playing() && Clock::now() < giveUp) {
        // The window is busy.
        const auto until = Clock::now() + std::chrono::microseconds(stallUs(random));
        while (Clock::now() < until) {
        }
        // Then it catches up: the tempo change that is due, and what the engine has played.
        if (segment + 1 < std::size(kSegments) && seq.Position() >= boundary - 1) {
            ++segment;
            boundary += kSegments[segment].first;
            seq.SetInterval(kSegments[segment].second);
        }
        for (const orvane::VoiceStart& s : engine.TakeVoiceStarts()) {
            starts.push_back(s);
        }
    }
    driver.Stop();
    for (const orvane::VoiceStart& s : engine.TakeVoiceStarts()) {
        starts.push_back(s);
    }

    // Step frames: the voices of a step share one frame.
    std::map<std::int64_t, int> voicesAt;
    for (const orvane::VoiceStart& s : starts) {
        ++voicesAt[s.frame];
    }
    const std::set<std::int64_t> intervals = bench::OnsetSegmentIntervals(kRate);
    Result result{0, static_cast<std::int64_t>(seq.LateSteps())};
    std::int64_t previous = -1;
    for (const auto& [frame, count] : voicesAt) {
        if (previous >= 0) {
            const std::int64_t best = bench::GridDistance(frame - previous, intervals);
            result.maxError = std::max(result.maxError, best);
            result.lateSteps += best > 1 ? 1 : 0;
        }
        previous = frame;
    }
    // Steps that never sounded are late too.
    result.lateSteps += std::max<std::int64_t>(0, 500 - static_cast<std::int64_t>(voicesAt.size()));
    return result;
}

void PrintResult(const Result& r, const std::string& suffix) {
    bench::Print("onset_error_max_frames" + suffix, static_cast<double>(r.maxError), "frames");
    bench::Print("late_steps" + suffix, static_cast<double>(r.lateSteps), "steps");
}

bench::Register quiet({"onset_error_max_frames_sequencer", "late_steps_sequencer"},
                      [] { PrintResult(Measure(1), "_sequencer"); });

bench::Register loaded({"onset_error_max_frames_sequencer_loaded", "late_steps_sequencer_loaded"}, [] {
    const bench::BusyLoad load(2);
    PrintResult(Measure(2), "_sequencer_loaded");
});

}  // namespace
