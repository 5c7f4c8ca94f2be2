#pragma once

#include <QString>
#include <QtGlobal>

namespace orvane {

// The arithmetic of the playback transport: times, captions, pages, marker places and what a
// timer tick has to do. Pure functions, safe on any thread. Step positions and counts are
// steps; intervals are milliseconds.

// Steps shown on one score page.
inline constexpr int kStepsPerPage = 64;
// The tempo slider's range and the step of the faster and slower commands.
inline constexpr int kTempoSliderMin = 50;
inline constexpr int kTempoSliderMax = 1000;
inline constexpr int kTempoStep = 25;

// Seconds as "H:MM:SS" (hours without leading zero); whole days are dropped, and a negative
// count shows as "0:00:00".
QString DurationText(qint64 seconds);

// Whole seconds (truncated) of steps at the interval, in 64-bit arithmetic.
qint64 StepSeconds(qint64 steps, qint64 interval);

// "General duration: " followed by the duration of stepCount steps at the interval.
QString GeneralDurationText(qint64 stepCount, int interval);

// The elapsed time at the step position, as shown in the play-time label.
QString ElapsedText(qint64 position, int interval);

// "Tempo: " followed by 1050 minus the interval.
QString TempoCaption(int interval);

// The tempo slider position after "Faster" (25 less, at least 50) and "Slower" (25 more, at
// most 1050; the slider itself stops at 1000).
int FasterPosition(int position);
int SlowerPosition(int position);

// The step position after "Rewind" (5 back, at least 0) and "Forward winding" (5 on, at most
// the last step, and never below 0).
int RewindPosition(int position);
int ForwardPosition(int position, int stepCount);

// The score page (0-based) of the step position.
int PageOf(int position);

// The page count of a whole chime chosen from the list: 1, plus 1 for each further started
// page (64 steps give 1, 65 give 2).
int WholeChimePageCount(int stepCount);
// The page count of a loaded custom chime: stepCount div 64 + 1 (64 steps give 2).
int CustomChimePageCount(int stepCount);

// The left coordinate, in pixels, of the position markers for the step position in a score
// panel of the given client width: the column n = position mod 64 placed at width / 64 * n,
// shifted by 0.6 * (8 - k) for k = n mod 16 below 9 and by 0.6 * (9 - k) otherwise, rounded
// to the nearest pixel, halves to even.
int MarkerLeft(int position, int clientWidth);

// The state a playback tick starts from.
struct TickState {
    int position = 0;         // the step played last
    int stepCount = 0;        // lines of the combined step list
    int currentPage = 0;      // the page shown before the tick
    bool studyMode = false;   // one to three study chimes are loaded
    bool playAll = false;     // "Play all": custom chimes one after another
    bool casualMode = false;  // random combinations of study chimes
};

// What one tick does, in this order:
// 1. stop: the chime has ended and nothing follows: run Stop and do nothing else.
// 2. nextCustomChime: the chime has ended with "Play all" on: go to the next custom chime
//    (progress and page back to 0 before it loads).
// 3. drawCombination: the chime has ended in casual mode exactly one step after its last
//    step: draw a new random combination.
// 4. Move to position and page (page selector: page + 1); redraw the score when pageChanged.
// 5. Play step position; then place the markers and show the elapsed time.
// 6. startReleaseWorker: the position is 1 more than a multiple of 64: close finished voices.
struct TickPlan {
    bool stop = false;
    bool nextCustomChime = false;
    bool drawCombination = false;
    bool ended = false;  // the position ran past the last step and starts again at 0
    int position = 0;
    int page = 0;
    bool pageChanged = false;
    bool startReleaseWorker = false;
};

TickPlan PlanTick(const TickState& state);

}  // namespace orvane
