#pragma once

#include <QStringList>
#include <array>

namespace orvane {

// The chime score container: the eight text lists of a loaded chime score, created empty at
// start-up and kept for the program's lifetime, with the step interval and the three group
// animation flags of the score. Lives on the user-interface thread.
class TChannels {
public:
    static constexpr int kDefaultInterval = 144;

    QStringList SmallSteps;   // "s" marks of each step
    QStringList MiddleSteps;  // "m" marks of each step
    QStringList BigSteps;     // "b" marks of each step
    QStringList Steps;        // the combined step list that is played
    QStringList RawLines;     // scratch: the lines of the file being parsed
    QStringList Fields;       // scratch: fields of a header or the marks of a step
    QStringList HeaderMarks;  // scratch: the group marks of the header
    QStringList StepSounds;   // the sound files of the step being played

    // Milliseconds per step.
    int StepInterval = kDefaultInterval;
    // Small, medium-size, great: true while the group is animated bell by bell; false while it
    // plays chords.
    std::array<bool, 3> GroupAnimation{true, true, true};

    // The step list of group 0 (small), 1 (medium-size) or 2 (great).
    QStringList& GroupSteps(int group);
    const QStringList& GroupSteps(int group) const;
};

}  // namespace orvane
