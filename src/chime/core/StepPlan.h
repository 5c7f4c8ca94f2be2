#pragma once

#include "catalogue/core/BellSet.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace orvane {

// What playing one step of the chime score means, worked out without touching a device or a
// widget: the controller that plays the step carries the actions out in order. Pure
// functions, safe on any thread.

// Everything the step logic reads from the window and the catalogues.
struct StepContext {
    // The bell set that turns bell marks into catalogue rows.
    BellSet bellSet;
    // The group check boxes "Small bells", "Medium-size bells", "Great bells".
    std::array<bool, 3> groupChecked{true, true, true};
    // The check box "Animation".
    bool animation = false;
    // The group animation flags of the chime score (small, medium-size, great).
    std::array<bool, 3> groupAnimation{true, true, true};
    // The output level (0..255) that the first volume mark of the step starts from.
    int volumeLevel = 0;
    // The sound folder, ending in a path separator.
    QString soundFolder;
    // The sound-file column of the bell catalogue, one entry per catalogue row.
    QStringList soundColumn;
};

struct StepAction {
    enum class Kind {
        SetVolume,        // write value as the output level, move the volume slider and caption
        AnimateBell,      // show the struck frame of catalogue row value
        OpenSound,        // open file as a new voice and play it (value: its catalogue row)
        StartResetTimer,  // start the timer that puts the struck bells back to rest
    };
    Kind kind;
    int value = 0;
    QString file;

    friend bool operator==(const StepAction&, const StepAction&) = default;
};

struct StepPlan {
    // In the order they are to be carried out: the volume changes and animations of the marks
    // in mark order, then one OpenSound per sound file, then StartResetTimer when "Animation"
    // is on and at least one bell sounds.
    std::vector<StepAction> actions;
    // The step sound list: the files of the OpenSound actions, in order.
    QStringList soundFiles;
    // The output level after the step's volume marks (unchanged without any).
    int volumeLevel = 0;
};

// The plan for one step line. The line is split at ","; each mark is handled on its own, and a
// faulty mark is skipped without affecting the others:
// - "#..." is a rest; "v" op factor is a volume mark (see ApplyVolumeMark);
// - any other mark needs a decimal digit as its second character (the rank; later characters
//   are not read); its row is FindGroupBell(first character, rank). It sounds when its first
//   character is "s", "m" or "b" and that group's box is checked, and is animated when, in
//   addition, "Animation" is on and the group's animation flag is true. A row without an entry
//   in the sound column is skipped.
// A line of at most one character plays nothing.
StepPlan PlanStep(const QString& line, const StepContext& context);

// The plan for step index of the combined step list; nothing when there is no such step.
StepPlan PlanStep(const QStringList& steps, qsizetype index, const StepContext& context);

// The level after the volume mark ("v", an operator, a factor with "." as decimal point) at
// the level: "+" multiplies, "-" divides, any other operator keeps the level; the result is
// brought into 0..255 and rounded to the nearest whole number, halves to even ("v+0" gives 0).
// Nothing (a faulty mark) when the mark has no operator or factor, the factor is not a finite
// number, or the mark divides by zero ("v-0").
std::optional<int> ApplyVolumeMark(const QString& mark, int level);

}  // namespace orvane
