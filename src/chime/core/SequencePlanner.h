#pragma once

#include <QStringList>

#include "chime/core/StepPlan.h"
#include "sound/core/StepSequencer.h"

namespace orvane {

// The step plan of a whole combined step list for the audio-side sequencer: per step the bells
// its marks strike (with their group, so that the group switches decide at play time) and its
// volume marks, read as PlanStep reads them. The context's group switches, animation flags and
// volume level are not used; its bell set, sound folder and sound column are.
SequencePlan PlanSequence(const QStringList& steps, const StepContext& context);

}  // namespace orvane
