#pragma once

#include "practice/core/ExpectedNotes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace orvane {

// How an expected note was rung, final once its window has closed.
enum class NoteResult : std::uint8_t {
    Pending,      // its window is still open (or has not begun)
    OnTime,       // rung within kOnTimeMs
    SlightlyOff,  // rung, more than kOnTimeMs and at most kSlightlyOffMs away
    Off,          // rung, more than kSlightlyOffMs away (within the window)
    WrongBell,    // not rung; another bell of its group was struck in its window
    Missed,       // not rung
    Unreached,    // the pass ended before its time
};

// How a learner's stroke was taken, final once no open window can still take it.
enum class StrokeResult : std::uint8_t {
    Pending,
    Hit,        // matched to an expected note of the same bell
    WrongBell,  // in the window of an expected note of another bell of the same group
    Extra,      // nothing expected it
};

inline constexpr double kOnTimeMs = 20.0;
inline constexpr double kSlightlyOffMs = 50.0;

// The result class of a hit with the given signed error in milliseconds.
NoteResult ClassOfError(double errorMs);

struct NoteOutcome {
    NoteResult result = NoteResult::Pending;
    int stroke = -1;             // the matched stroke (hits) or the wrong-bell stroke, else -1
    std::int64_t frame = 0;      // the note's time, output frames (predicted until its step sounded)
    std::int64_t errorFrames = 0;  // hits: stroke frame - note frame (positive: late)
};

struct StrokeOutcome {
    int bell = 0;
    std::int64_t frame = 0;  // output frame at which the stroke was made
    StrokeResult result = StrokeResult::Pending;
    int note = -1;  // the note it was matched or attributed to, else -1
};

// Matches the learner's strokes to the expected notes of one pass, one to one: a stroke is
// matched to a note of the same bell, the nearest in time, within the note's window of half a
// step interval either side (inclusive). Of two strokes in one note's window the nearer one is
// the hit (the earlier on a tie) and the other is extra; a stroke exactly between two notes of its
// bell goes to the earlier note unless that note has a nearer stroke. A missed note whose window
// holds an unmatched stroke of another bell of its group, a stroke that no window of its own bell
// holds, is a wrong bell, and that stroke too.
//
// Incremental: step frames and strokes arrive as the pass plays; Advance(now) decides every note
// whose window has closed by `now`, in step order, and every stroke that no open window can still
// take. Times are absolute output frames. Cost: O(log n) per stroke, amortised O(1) per note.
// Plain value type; not thread-safe.
class StrokeMatcher {
  public:
    // notes in step order (as ExpectedNotes gives them); groupOfBell: the group of each catalogue
    // row (-1 out of the set); stepCount: steps of the pass.
    // sampleRate: output frames per second, for the millisecond classes.
    StrokeMatcher(std::vector<ExpectedNote> notes, const std::array<int, BellSet::kBellCount>& groupOfBell,
                  int stepCount, int sampleRate);

    // Step `step` sounds (or will sound) at `frame`; the steps after it are expected every
    // `intervalFrames` frames from there until another step is reported. Windows are half of
    // the interval in force at their step. Steps are reported in increasing order.
    void StepSounded(int step, std::int64_t frame, std::int64_t intervalFrames);
    // Until the step is reported, `step` is expected at `frame` and the later steps every
    // `intervalFrames` frames from there (a count-in's plan for the first step).
    void Expect(int step, std::int64_t frame, std::int64_t intervalFrames);
    // Strokes before this frame are not taken (a count-in); default: none refused.
    void AcceptFrom(std::int64_t frame) { acceptFrom_ = frame; }
    // A learner's stroke of catalogue bell `bell` at `frame`. Strokes may arrive slightly out of
    // order. Returns false when the stroke was not taken (before AcceptFrom, or a bell out of
    // range).
    bool AddStroke(int bell, std::int64_t frame);
    // Decides what the time `now` settles. Returns the number of notes decided by this call.
    int Advance(std::int64_t now);
    // The pass ended at `now`: decides every note due by `now` with the strokes made so far,
    // marks the later ones unreached, and every stroke not taken as extra or wrong bell.
    void Finish(std::int64_t now);

    const std::vector<ExpectedNote>& Notes() const { return notes_; }
    const std::vector<NoteOutcome>& NoteOutcomes() const { return outcomes_; }
    const std::vector<StrokeOutcome>& Strokes() const { return strokes_; }
    // The frame of a step: reported, or predicted from the last report.
    std::int64_t StepFrame(int step) const;
    std::int64_t HalfWindow(int step) const;
    // Notes decided so far (a prefix in step order).
    int DecidedNotes() const { return nextNote_; }
    bool Finished() const { return finished_; }
    int SampleRate() const { return sampleRate_; }
    const std::array<int, BellSet::kBellCount>& GroupOfBell() const { return groupOfBell_; }
    double Milliseconds(std::int64_t frames) const { return frames * 1000.0 / sampleRate_; }

  private:
    void DecideNote(int index);
    int OwnStroke(const ExpectedNote& note, std::int64_t t, std::int64_t half) const;
    int WrongBellStroke(const ExpectedNote& note, std::int64_t t, std::int64_t half) const;
    // The pending stroke of `list` (stroke indices in frame order) nearest to t within half,
    // leaving out those `skip` names; the earlier on a tie; -1 when there is none.
    template <typename Skip>
    int NearestPending(const std::vector<int>& list, std::int64_t t, std::int64_t half, Skip skip) const;
    // True when a note of `bell` (of any bell of group `group` but `bell`, for InGroupWindow)
    // holds `frame` in its window.
    bool InBellWindow(int bell, std::int64_t frame) const;
    bool InGroupWindow(int group, int bell, std::int64_t frame) const;
    void SettleStrokes(std::int64_t before);

    std::vector<ExpectedNote> notes_;
    int sampleRate_ = 48000;
    std::vector<NoteOutcome> outcomes_;
    std::array<int, BellSet::kBellCount> groupOfBell_{};
    // Per bell: its notes (indices into notes_, in step order) and its strokes (indices into
    // strokes_, in frame order).
    std::array<std::vector<int>, BellSet::kBellCount> notesOfBell_;
    std::array<std::vector<int>, BellSet::kBellCount> strokesOfBell_;
    // Per group: every stroke of a bell of the group, in frame order.
    std::array<std::vector<int>, 3> strokesOfGroup_;
    std::vector<StrokeOutcome> strokes_;
    // Step frames: reported ones, then a prediction from the last report.
    std::vector<std::int64_t> stepFrames_;
    std::vector<std::int64_t> stepHalves_;
    int reportedSteps_ = 0;  // steps 0..reportedSteps_-1 have a reported (or filled) frame
    std::int64_t anchorFrame_ = 0;
    int anchorStep_ = 0;
    std::int64_t interval_ = 0;
    bool anchored_ = false;
    std::int64_t acceptFrom_ = INT64_MIN;
    int nextNote_ = 0;
    // Strokes in frame order; the ones before settledStrokes_ are final.
    std::vector<int> strokeOrder_;
    std::size_t settledStrokes_ = 0;
    bool finished_ = false;
};

}  // namespace orvane
