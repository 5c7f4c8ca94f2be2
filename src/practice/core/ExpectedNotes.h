#pragma once

#include "catalogue/core/BellSet.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace orvane {

// One stroke that the score expects of the learner: a bell of a practised group at one step.
struct ExpectedNote {
    int step = 0;   // index into the combined step list
    int bell = 0;   // catalogue row 0..14
    int group = 0;  // 0 small, 1 medium-size, 2 great bells
    int rank = 0;   // the mark's rank within its group (the staff position of the note)
};

// The expected strokes of the practised groups (practised[g] for group g) in the combined step
// list, ordered by step and, within a step, by mark order. A chord gives one note per bell; a
// bell named twice in one step gives one note. Marks are read as the player reads them
// (letter, then a decimal rank; rests and volume marks are skipped).
std::vector<ExpectedNote> ExpectedNotes(const QStringList& steps, const std::array<bool, 3>& practised,
                                        const BellSet& bellSet);

// The group index (0..2) of each catalogue row in the bell set; -1 for a row out of the set.
std::array<int, BellSet::kBellCount> GroupOfBells(const BellSet& bellSet);

}  // namespace orvane
