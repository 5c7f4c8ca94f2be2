#include "chime/core/Transport.h"

#include "app/core/Rounding.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {
constexpr int kTempoBase = 1050;
constexpr int kWindSteps = 5;
}  // namespace

QString DurationText(qint64 seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    const qint64 hours = (seconds % 86400) / 3600;
    const qint64 minutes = (seconds % 3600) / 60;
    const qint64 secs = seconds % 60;
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secs, 2, 10, QLatin1Char('0'));
}

qint64 StepSeconds(qint64 steps, qint64 interval) {
    return steps * interval / 1000;
}

QString GeneralDurationText(qint64 stepCount, int interval) {
    return QStringLiteral("General duration: ") + DurationText(StepSeconds(stepCount, interval));
}

QString ElapsedText(qint64 position, int interval) {
    return DurationText(StepSeconds(position, interval));
}

QString TempoCaption(int interval) {
    return QStringLiteral("Tempo: ") + QString::number(kTempoBase - interval);
}

int FasterPosition(int position) {
    return std::max(position - kTempoStep, kTempoSliderMin);
}

int SlowerPosition(int position) {
    return std::min(position + kTempoStep, kTempoBase);
}

int RewindPosition(int position) {
    return std::max(position - kWindSteps, 0);
}

int ForwardPosition(int position, int stepCount) {
    return std::max(std::min(position + kWindSteps, stepCount - 1), 0);
}

int PageOf(int position) {
    return position / kStepsPerPage;
}

int WholeChimePageCount(int stepCount) {
    if (stepCount <= kStepsPerPage) {
        return 1;
    }
    return (stepCount - 1) / kStepsPerPage + 1;
}

int CustomChimePageCount(int stepCount) {
    return stepCount / kStepsPerPage + 1;
}

int MarkerLeft(int position, int clientWidth) {
    const int n = position % kStepsPerPage;
    const int k = n % 16;
    const double offset = k < 9 ? 0.6 * (8 - k) : 0.6 * (9 - k);
    return Round(clientWidth / 64.0 * n + offset);
}

TickPlan PlanTick(const TickState& state) {
    TickPlan plan;
    int position = state.position + 1;
    int previousPage = state.currentPage;
    if (position > state.stepCount - 1) {
        if (!state.studyMode && !state.playAll) {
            plan.stop = true;
            return plan;
        }
        plan.ended = true;
        if (state.playAll) {
            plan.nextCustomChime = true;
            previousPage = 0;
        }
        plan.drawCombination = state.casualMode && position == state.stepCount;
        position = 0;
    }
    plan.position = position;
    plan.page = PageOf(position);
    plan.pageChanged = plan.page != previousPage;
    plan.startReleaseWorker = position % kStepsPerPage == 1;
    return plan;
}

}  // namespace orvane
