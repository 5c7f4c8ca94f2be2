#include "chime/core/TChannels.h"

namespace orvane {

QStringList& TChannels::GroupSteps(int group) {
    return group == 0 ? SmallSteps : group == 1 ? MiddleSteps : BigSteps;
}

const QStringList& TChannels::GroupSteps(int group) const {
    return group == 0 ? SmallSteps : group == 1 ? MiddleSteps : BigSteps;
}

}  // namespace orvane
