#pragma once

#include "catalogue/core/BellSet.h"

#include <QList>
#include <QString>
#include <array>

namespace orvane {

class TBellData;

// The limits of the bell groups that the user may build by hand (popup menu and drag and
// drop of the groups tree): at most 3 small bells, and only bells 11 to 14 may be small; at
// most 7 medium-size bells; at most 5 great bells.
constexpr int kMaxSmallBells = 3;
constexpr int kMaxMiddleBells = 7;
constexpr int kMaxGreatBells = 5;
constexpr int kFirstSmallBell = 11;
// From this set size on the bells are divided into groups.
constexpr int kGroupedSetSize = 5;

// The "Add bell" items that the popup menu of the groups tree offers, per catalogue bell.
// selectedGroup is the group index (0 small, 1 medium-size, 2 great) of the selected tree
// node, or -1 when no node is selected. Below kGroupedSetSize every bell out of the set is
// offered; from there on only bells that fit the selected group, and none when the group is
// full. With no node selected the bells out of the set are offered (there is no group to
// narrow them by); adding one then does nothing, as there is no group to add it to.
std::array<bool, BellSet::kBellCount> AddBellOffers(const BellSet& set, int selectedGroup);

// True when a bell dragged inside the groups tree may be dropped on the node of the group
// with the code targetGroup (1 small, 2 medium-size, 3 great) without breaking the limits.
// draggedBell may be -1 (the dragged node names no bell).
bool DropAccepted(const BellSet& set, int draggedBell, int targetGroup);

// Applies the stored forms of the set ("Bells" and "Types", character 1 for bell 0): each bell
// whose character of bells is "1" is put into the set with the group of its letter in types.
// Missing characters count as not "1" and as no letter; other bells are left as they are.
// Returns the bells put into the set, in index order.
QList<int> ApplyStoredBellSet(BellSet& set, const QString& bells, const QString& types);

// True when a group of the set holds 10 or more bells, so that its count would not fit one
// digit of the group signature.
bool HasOversizedGroup(const BellSet& set);

// The number of bells in the set and their total weight in kilograms.
struct SetTotals {
    int count = 0;
    qint64 weight = 0;
};

// Adds up the bells of the set from the catalogue. Throws std::invalid_argument when the
// weight of a bell in the set, or the integer column after it, does not read as an integer.
SetTotals ComputeTotals(const BellSet& set, const TBellData& data);

// "Total number of bells: " + count + CR LF + "Total weight: " + weight + " kg".
QString TotalsText(const SetTotals& totals);

}  // namespace orvane
