#include "sound/OnsetHarness.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

void RealTimeDriver::Start() {
    running_ = true;
    thread_ = std::thread([this] {
        // A sound card's callback thread runs with real-time priority where the system allows
        // it; so does this one (it keeps its normal priority otherwise).
        sched_param param{};
        param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
        const int frames = output_.BufferFrames();
        const auto period = std::chrono::nanoseconds(static_cast<std::int64_t>(frames) *
                                                     1'000'000'000 / output_.SampleRate());
        auto next = Clock::now();
        while (running_.load()) {
            std::this_thread::sleep_until(next);
            output_.RenderBuffer(frames, Clock::now());
            next += period;
        }
    });
}

void RealTimeDriver::Stop() {
    running_ = false;
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::int64_t MeasureOnsetError(orvane::AudioEngine& engine, const QString& path,
                               const OnsetOptions& options) {
    std::mt19937 random(options.seed);
    std::uniform_int_distribution<int> stallUs(0,
                                               static_cast<int>(options.maxStall.count() * 1000));
    const double rate = engine.SampleRate();
    const std::int64_t lookAheadFrames =
        static_cast<std::int64_t>(std::nearbyint(options.lookAhead.count() * rate / 1000.0));
    const double intervalFrames = options.interval.count() * rate / 1000.0;

    std::vector<orvane::AudioEngine::VoiceId> voices;
    const auto first = Clock::now() + std::chrono::milliseconds(200);
    for (int n = 0; n < options.ticks; ++n) {
        const auto ideal = first + n * options.interval;
        std::this_thread::sleep_until(ideal + std::chrono::microseconds(stallUs(random)));
        orvane::AudioEngine::VoiceId voice = -1;
        if (engine.OpenVoice(path, voice) != orvane::EngineError::kNone) {
            return -1;
        }
        if (options.scheduled) {
            engine.PlayVoiceAt(voice, engine.FrameAt(ideal) + lookAheadFrames);
        } else {
            engine.PlayVoiceAt(voice, std::nullopt);
        }
        voices.push_back(voice);
    }
    std::this_thread::sleep_for(options.lookAhead + std::chrono::milliseconds(50));

    std::vector<double> deviations;
    for (int n = 0; n < options.ticks; ++n) {
        const auto start = engine.VoiceStartFrame(voices[n]);
        engine.CloseVoice(voices[n]);
        if (!start) {
            return -1;
        }
        deviations.push_back(static_cast<double>(*start) - n * intervalFrames);
    }
    const auto [low, high] = std::minmax_element(deviations.begin(), deviations.end());
    return static_cast<std::int64_t>(std::ceil((*high - *low) / 2.0));
}

std::set<std::int64_t> OnsetSegmentIntervals(int sampleRate) {
    std::set<std::int64_t> intervals;
    for (const auto& [steps, ms] : kOnsetSegments) {
        intervals.insert(std::int64_t{ms} * sampleRate / 1000);
    }
    return intervals;
}

std::int64_t GridDistance(std::int64_t gap, const std::set<std::int64_t>& intervals) {
    std::int64_t best = INT64_MAX;
    for (const std::int64_t interval : intervals) {
        best = std::min(best, std::abs(gap - interval));
    }
    return best;
}

}  // namespace bench
