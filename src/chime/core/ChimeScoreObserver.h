#pragma once

#include <QChar>

namespace orvane {

// What the chime score loader asks of the window while it loads a score. The main window
// implements it; every call comes on the thread that runs LoadChimeScore (the user-interface
// thread in the program).
class ChimeScoreObserver {
  public:
    virtual ~ChimeScoreObserver() = default;

    // The header marks the group of letter ("s", "m" or "b") as playing chords: hide its
    // single-bell frames and, while animation is on, show the chord pictures.
    virtual void ClearGroupFrames(QChar letter) = 0;
    // The step interval of the score has been set: show it on the tempo controls.
    virtual void ShowTempo() = 0;
    // The step count or the interval changed: refresh the general duration.
    virtual void ShowTotalDuration() = 0;
};

}  // namespace orvane
