#include "chime/core/StepPlan.h"

#include "catalogue/core/ListFile.h"
#include "chime/core/ChimeScore.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace orvane {

namespace {


// The factor of a volume mark, read with "." as the decimal point whatever the locale.
std::optional<double> ReadFactor(QStringView text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<int> ApplyVolumeMark(const QString& mark, int level) {
    if (mark.size() < 3) {
        return std::nullopt;
    }
    const std::optional<double> factor = ReadFactor(QStringView(mark).mid(2));
    if (!factor) {
        return std::nullopt;
    }
    double result = level;
    if (mark.at(1) == u'+') {
        result = level * *factor;
    } else if (mark.at(1) == u'-') {
        if (*factor == 0.0) {
            return std::nullopt;  // a division by zero
        }
        result = level / *factor;
    }
    // The quotient or product may be infinite; clamp before it becomes an integer.
    result = std::clamp(result, 0.0, 255.0);
    return static_cast<int>(std::nearbyint(result));
}

StepPlan PlanStep(const QString& line, const StepContext& context) {
    StepPlan plan;
    plan.volumeLevel = context.volumeLevel;
    if (line.size() <= 1) {
        return plan;
    }
    QStringList marks;
    SplitString(line, QStringLiteral(","), &marks);
    std::vector<int> soundRows;
    for (const QString& mark : std::as_const(marks)) {
        if (mark.isEmpty() || mark.at(0) == u'#') {
            continue;
        }
        if (mark.at(0) == u'v') {
            if (const std::optional<int> level = ApplyVolumeMark(mark, plan.volumeLevel)) {
                plan.volumeLevel = *level;
                plan.actions.push_back({StepAction::Kind::SetVolume, *level, {}});
            }
            continue;
        }
        if (mark.size() < 2 || mark.at(1) < u'0' || mark.at(1) > u'9') {
            continue;
        }
        const int rank = mark.at(1).unicode() - u'0';
        const int row = FindGroupBell(mark.at(0), rank, context.bellSet);
        const int group = GroupIndexOf(mark.at(0));
        if (group < 0 || !context.groupChecked[group] || row >= context.soundColumn.size()) {
            continue;
        }
        plan.soundFiles.append(context.soundFolder + context.soundColumn.at(row));
        soundRows.push_back(row);
        if (context.groupAnimation[group] && context.animation) {
            plan.actions.push_back({StepAction::Kind::AnimateBell, row, {}});
        }
    }
    for (qsizetype i = 0; i < plan.soundFiles.size(); ++i) {
        plan.actions.push_back({StepAction::Kind::OpenSound, soundRows[i], plan.soundFiles[i]});
    }
    if (context.animation && !plan.soundFiles.isEmpty()) {
        plan.actions.push_back({StepAction::Kind::StartResetTimer, 0, {}});
    }
    return plan;
}

StepPlan PlanStep(const QStringList& steps, qsizetype index, const StepContext& context) {
    if (index < 0 || index >= steps.size()) {
        StepPlan plan;
        plan.volumeLevel = context.volumeLevel;
        return plan;
    }
    return PlanStep(steps.at(index), context);
}

}  // namespace orvane
