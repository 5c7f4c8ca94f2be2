#pragma once

#include "catalogue/core/BellSet.h"
#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/TChannels.h"

#include <QChar>
#include <QString>

namespace orvane {

// Loading and reshaping the chime score held in a TChannels. Everything here runs on the
// thread that owns the TChannels (the user-interface thread in the program) and never shows a
// message.

// Targets of LoadChimeScore.
enum ChimeTarget : int {
    kSmallStudyChime = 0,
    kMiddleStudyChime = 1,
    kGreatStudyChime = 2,
    kWholeChime = 3,
};

// Steps of a study chime that are kept, and the length of the played score built from the
// three study chimes.
inline constexpr int kStudyChimeSteps = 128;
// The step interval of every study chime combination, in milliseconds.
inline constexpr int kStudyChimeInterval = 144;
// The range of the step interval, in milliseconds: a header interval outside it is brought
// to the nearest end.
inline constexpr int kMinStepInterval = 50;
inline constexpr int kMaxStepInterval = 1000;

// Parses the chime score file at path (Windows-1251 text; "\" or "/" separators) into
// channels. Target 3 replaces the whole chime (combined list, then the group lists from it);
// target 0, 1 or 2 replaces the study chime of that group (its first 128 steps) and rebuilds
// the combined list of 128 steps from the three group lists. Any other target does nothing.
//
// Outcome:
// - file cannot be read: nothing changes, the observer is not called;
// - empty file (no header line): the three animation flags become true, nothing else changes;
// - otherwise the animation flags follow the header ("s-", "m-", "b-" set a group's flag to
//   false, and observer.ClearGroupFrames runs for it, small to great), the step interval is the
//   header interval for target 3 (the current interval when the header is not a whole number;
//   clamped to 50..1000) and 144 for study chimes, and observer.ShowTempo then
//   observer.ShowTotalDuration run.
// RawLines holds the step lines of the file afterwards (emptied by the merge for study
// chimes); Fields and HeaderMarks hold the fields and group marks of the header. Exceptions
// thrown by the observer outside the header pass to the caller.
void LoadChimeScore(TChannels& channels, int target, const QString& path,
                    ChimeScoreObserver& observer);

// Rebuilds the three group step lists from the combined step list: one line per step, each
// with the marks of its group ("s", "m", "b" first letter) in their order, joined by ","
// (the "," is put only after a text longer than one character). Other marks are dropped.
void SplitByGroup(TChannels& channels);

// Rebuilds the combined step list (exactly 128 lines) from the first 128 lines of the three
// group step lists, small, medium-size, great; a missing line counts as empty, and a "," joins
// two parts only when both are longer than one character. Empties RawLines.
void MergeGroups(TChannels& channels);

// The catalogue row (0..14) of the bell that the mark letter + rank names in the bell set:
// "b" counts the great bells from row 0 upwards, every other letter counts the bells of its
// group ("s" small, "m" medium-size, anything else no group) from row 14 downwards. A rank of
// 0 or below, or above the number of such bells, gives row 14.
int FindGroupBell(QChar letter, int rank, const BellSet& bellSet);

}  // namespace orvane
