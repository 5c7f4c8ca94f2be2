#pragma once

#include <chrono>
#include <cstdint>

namespace orvane {

// The ideal times of the playback timer's ticks. The timer runs on a grid: tick n of a run is
// due at the run's start + n x interval. A run starts (the grid is anchored) whenever the timer
// is started or its interval changes; a tick that comes so late that the timer has given up
// its grid (more than one interval after its ideal time, when the timer restarts counting
// from the late tick) anchors the grid again at that tick. The step position is not part of
// the grid: winding and slider moves go on on the timer's grid.
//
// The voices of a tick start at the tick's place on a grid of output frames: the first tick
// played on a grid starts at the output frame of its ideal time plus a fixed look-ahead, and each
// later tick exactly n x interval frames after that, so the voices of all ticks lie on a
// sample-exact grid however late the ticks are handled, as long as they are handled within the
// look-ahead. Should the output's clock drift from the steady clock by more than kMaxDrift, the
// frame grid starts again from the output's frame. Plain value type; the playback controller
// keeps one on the user-interface thread.
class StepClock {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    // Time between a tick's ideal time and the start of its voices.
    static constexpr std::chrono::milliseconds kLookAhead{20};
    // How far the frame grid may run from the output's own estimate before it starts again:
    // half the look-ahead. The estimate wobbles by a few milliseconds when the machine is busy;
    // a real drift of the output's clock (tens of ppm) takes minutes on one grid to get there.
    static constexpr std::chrono::milliseconds kMaxDrift{10};

    // The timer was started at now with the interval in milliseconds: tick 0 is due now.
    void Anchor(TimePoint now, int intervalMs);
    // The timer has ticked at now: moves to the next tick and returns its ideal time.
    TimePoint Advance(TimePoint now);

    // The ideal time of the current tick (the anchor itself right after Anchor).
    TimePoint Ideal() const;
    bool Anchored() const { return anchored_; }
    int IntervalMs() const { return intervalMs_; }
    // Ticks since the grid was last anchored.
    std::int64_t Tick() const { return tick_; }
    // Anchorings so far (timer starts, interval changes and late ticks).
    std::int64_t Anchorings() const { return anchorings_; }

    // The frame at which the voices of the current tick start, given the output's frame at the
    // tick's ideal time (its estimate from the steady clock) and the output's rate.
    std::int64_t StartFrame(std::int64_t frameAtIdeal, int sampleRate);
    // Times the frame grid started again because the output's clock drifted.
    std::int64_t Resyncs() const { return resyncs_; }

    // Milliseconds as frames at the sample rate, rounded to the nearest frame (the look-ahead
    // is 960 frames at 48 kHz).
    static std::int64_t Frames(double ms, int sampleRate);
    static std::int64_t LookAheadFrames(int sampleRate) {
        return Frames(static_cast<double>(kLookAhead.count()), sampleRate);
    }

private:
    TimePoint anchor_{};
    int intervalMs_ = 0;
    std::int64_t tick_ = 0;
    std::int64_t anchorings_ = 0;
    bool anchored_ = false;
    // The frame of tick 0 of the frame grid, once a tick of this grid has been played.
    bool frameGrid_ = false;
    std::int64_t frameBase_ = 0;
    int frameRate_ = 0;
    std::int64_t resyncs_ = 0;
};

}  // namespace orvane
