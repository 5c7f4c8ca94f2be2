#pragma once

#include "chime/core/CasualDraw.h"

namespace orvane {

// What the player asks of casual reproduction at the end of a pass: the next random
// combination of study chimes. User-interface thread only.
class CombinationSource {
  public:
    // Chooses and applies a new combination, then plays it if the timer is not running.
    virtual void DrawCombination() = 0;
    // Draws the combination of the next pass ahead of the pass end, without applying it;
    // DrawCombination then applies it.
    virtual Combination PrepareNextCombination() = 0;

  protected:
    ~CombinationSource() = default;
};

}  // namespace orvane
