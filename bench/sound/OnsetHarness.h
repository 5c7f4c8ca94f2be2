#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <set>
#include <thread>
#include <utility>

#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"

namespace bench {

// Drives an offline output in real time from its own thread, like a sound card: one buffer per
// buffer period, each reported at the steady time it was actually rendered.
class RealTimeDriver {
  public:
    explicit RealTimeDriver(orvane::OfflineOutput& output) : output_(output) {}
    ~RealTimeDriver() { Stop(); }
    void Start();
    void Stop();

  private:
    orvane::OfflineOutput& output_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

struct OnsetOptions {
    std::chrono::milliseconds interval{144};
    int ticks = 40;
    std::chrono::milliseconds lookAhead{20};
    // The simulated UI thread reaches each tick late by a random time up to this.
    std::chrono::milliseconds maxStall{15};
    // True: start at FrameAt(ideal time) + look-ahead; false: start at the next buffer.
    bool scheduled = true;
    unsigned seed = 1;
};

// Plays `path` once per tick on the calling thread (as the UI thread) while the engine's
// output is driven in real time, then returns the onset error: the start frames are compared
// with a perfect grid of the tick interval, placed to minimise the largest deviation; the
// result is that largest deviation in frames (-1 when a voice did not start).
std::int64_t MeasureOnsetError(orvane::AudioEngine& engine, const QString& path,
                               const OnsetOptions& options);

// Steps and step interval (ms) of the tempo segments of the 500-step score that the onset
// figures play.
inline constexpr std::pair<int, int> kOnsetSegments[] = {{234, 50}, {120, 75}, {70, 100}, {40, 144},
                                                         {20, 250}, {12, 500}, {4, 1000}};

// The step intervals of kOnsetSegments, in frames at `sampleRate`.
std::set<std::int64_t> OnsetSegmentIntervals(int sampleRate);

// How far, in frames, the gap between two step onsets is from the nearest of `intervals`.
std::int64_t GridDistance(std::int64_t gap, const std::set<std::int64_t>& intervals);

}  // namespace bench
