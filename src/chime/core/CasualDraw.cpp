#include "chime/core/CasualDraw.h"

#include <algorithm>

namespace orvane {

namespace {

bool AnyChosen(const Combination& combination) {
    return std::any_of(combination.begin(), combination.end(), [](int i) { return i > 0; });
}

Combination Normalised(Combination combination) {
    for (int& index : combination) {
        index = std::max(index, 0);
    }
    return combination;
}

}  // namespace

int PickOther(int count, int selected, const CasualRandom& random) {
    int result = random(count);
    while (result == selected) {
        result = random(count);
    }
    return result;
}

bool CanDrawCombination(const Combination& selected, const Combination& counts) {
    const Combination current = Normalised(selected);
    if (!AnyChosen(current)) {
        return std::any_of(counts.begin(), counts.end(), [](int n) { return n > 1; });
    }
    for (int g = 0; g < 3; ++g) {
        if (counts[g] < 2) {
            continue;
        }
        bool othersChosen = false;
        for (int h = 0; h < 3; ++h) {
            othersChosen = othersChosen || (h != g && current[h] > 0);
        }
        // Chimes of this list other than the selected one.
        const int otherChimes = counts[g] - 1 - (current[g] > 0 && current[g] < counts[g] ? 1 : 0);
        if (othersChosen || otherChimes > 0) {
            return true;
        }
    }
    return false;
}

std::optional<Combination> DrawCombination(const Combination& selected, const Combination& counts,
                                           const CasualRandom& random) {
    const Combination current = Normalised(selected);
    if (!CanDrawCombination(current, counts)) {
        return std::nullopt;
    }
    for (;;) {
        Combination next = current;
        if (!AnyChosen(current)) {
            for (int g = 0; g < 3; ++g) {
                if (counts[g] > 1) {
                    next[g] = PickOther(counts[g], current[g], random);
                }
            }
        } else {
            int g = random(3);
            while (counts[g] < 2) {
                g = random(3);
            }
            next[g] = PickOther(counts[g], current[g], random);
        }
        if (AnyChosen(next) && next != current) {
            return next;
        }
    }
}

}  // namespace orvane
