#pragma once

#include <array>
#include <functional>
#include <optional>

namespace orvane {

// The random choice of study chime combinations. Pure functions, safe on any thread.
//
// A combination holds one entry index per group chime list (small, medium-size, great); entry 0
// is "Chime selection" (no chime of that group), a negative index counts as 0. counts holds the
// number of entries of each list, "Chime selection" included (0 for a missing list).

// Random(n): a whole number from 0 to n - 1 with equal chances.
using CasualRandom = std::function<int(int n)>;
using Combination = std::array<int, 3>;

// A random entry of a list of count entries (at least 2) other than selected: Random(count)
// drawn again until it differs.
int PickOther(int count, int selected, const CasualRandom& random);

// True when DrawCombination can find a new combination: when no chime is chosen, some list
// offers a study chime; otherwise some list of at least two entries has another entry that
// still leaves a chime chosen in some group.
bool CanDrawCombination(const Combination& current, const Combination& counts);

// A new combination, or nothing when CanDrawCombination is false. With no chime chosen, every
// list of more than one entry gets PickOther (so every such group gets a chime); otherwise one
// group, drawn with Random(3) until its list has at least two entries, gets PickOther and the
// others keep theirs. A combination with no chime at all, or equal to the current one, is
// thrown away and the choice starts again.
std::optional<Combination> DrawCombination(const Combination& current, const Combination& counts,
                                           const CasualRandom& random);

}  // namespace orvane
