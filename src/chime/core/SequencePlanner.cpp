#include "chime/core/SequencePlanner.h"

#include "catalogue/core/ListFile.h"
#include "chime/core/ChimeScore.h"

#include <QHash>
#include <QLocale>
#include <cmath>

namespace orvane {

namespace {

// A volume mark: "v", the operator, then the factor with "." as the decimal point; nothing for
// a mark that PlanStep would skip.
std::optional<SequencePlan::VolumeMark> ReadVolumeMark(const QString& mark) {
    if (mark.size() < 3) {
        return std::nullopt;
    }
    bool ok = false;
    const double factor = QLocale::c().toDouble(QStringView(mark).mid(2), &ok);
    if (!ok || !std::isfinite(factor) || factor == 0.0) {
        return std::nullopt;
    }
    const QChar op = mark.at(1);
    return SequencePlan::VolumeMark{op == u'+' ? '+' : op == u'-' ? '-' : '=', factor};
}

}  // namespace

SequencePlan PlanSequence(const QStringList& steps, const StepContext& context) {
    SequencePlan plan;
    QHash<QString, int> soundIndex;
    plan.steps.resize(static_cast<std::size_t>(steps.size()));
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString& line = steps.at(i);
        if (line.size() <= 1) {
            continue;
        }
        SequencePlan::Step& step = plan.steps[static_cast<std::size_t>(i)];
        QStringList marks;
        SplitString(line, QStringLiteral(","), &marks);
        for (const QString& mark : std::as_const(marks)) {
            if (mark.isEmpty() || mark.at(0) == u'#') {
                continue;
            }
            if (mark.at(0) == u'v') {
                if (const auto volume = ReadVolumeMark(mark)) {
                    step.marks.push_back(*volume);
                }
                continue;
            }
            if (mark.size() < 2 || mark.at(1) < u'0' || mark.at(1) > u'9') {
                continue;
            }
            const int row = FindGroupBell(mark.at(0), mark.at(1).unicode() - u'0', context.bellSet);
            const int group = GroupIndexOf(mark.at(0));
            if (group < 0 || row < 0 || row >= context.soundColumn.size()) {
                continue;
            }
            const QString path = context.soundFolder + context.soundColumn.at(row);
            auto it = soundIndex.find(path);
            if (it == soundIndex.end()) {
                it = soundIndex.insert(path, static_cast<int>(plan.soundPaths.size()));
                plan.soundPaths.append(path);
            }
            step.strokes.push_back({*it, group});
        }
    }
    return plan;
}

}  // namespace orvane
