#pragma once

#include "catalogue/core/BellSet.h"
#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/StepPlan.h"

#include <QString>

namespace bench {

// A score observer for benchmarks that load a chime without a window.
struct NoObserver final : orvane::ChimeScoreObserver {
    void ClearGroupFrames(QChar) override {}
    void ShowTempo() override {}
    void ShowTotalDuration() override {}
};

// All fifteen catalogue bells (great 0-4, medium-size 5-11, small 12-14), sounding the files
// bellNN.wav of `folder`; the output level is left at its default.
inline orvane::StepContext WholeBellSet(const QString& folder) {
    orvane::StepContext context;
    for (int bell = 0; bell < orvane::BellSet::kBellCount; ++bell) {
        context.bellSet.inSet[bell] = true;
        context.bellSet.group[bell] = bell < 5    ? orvane::kGreatGroup
                                      : bell < 12 ? orvane::kMiddleGroup
                                                  : orvane::kSmallGroup;
        context.soundColumn.append(QStringLiteral("bell%1.wav").arg(bell, 2, 10, QLatin1Char('0')));
    }
    context.soundFolder = folder;
    return context;
}

}  // namespace bench
