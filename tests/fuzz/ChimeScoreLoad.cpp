// The chime score loader, for every target in turn on one score container (as the program
// keeps one), followed by the step plans of the played score.

#include "FuzzSupport.h"

#include "chime/core/ChimeScore.h"
#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/StepPlan.h"
#include "chime/core/TChannels.h"

using namespace orvane;

namespace {

struct QuietObserver : ChimeScoreObserver {
    void ClearGroupFrames(QChar) override {}
    void ShowTempo() override {}
    void ShowTotalDuration() override {}
};

StepContext Context() {
    StepContext context;
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        context.bellSet.inSet[static_cast<std::size_t>(i)] = i % 3 != 0;
        context.bellSet.group[static_cast<std::size_t>(i)] = i < 4 ? kGreatGroup : i < 9 ? kMiddleGroup : kSmallGroup;
        context.soundColumn.append(QStringLiteral("bell%1.wav").arg(i, 2, 10, QLatin1Char('0')));
    }
    context.animation = true;
    context.volumeLevel = 128;
    context.soundFolder = QStringLiteral("/sound/");
    return context;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::Scratch() + "/chime.kol";
    fuzz::WriteFile(path, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    static const StepContext context = Context();
    TChannels channels;
    QuietObserver observer;
    for (const int target : {int{kWholeChime}, int{kSmallStudyChime}, int{kMiddleStudyChime}, int{kGreatStudyChime}, 4, -1}) {
        LoadChimeScore(channels, target, path, observer);
        ORVANE_FUZZ_CHECK(channels.StepInterval >= kMinStepInterval && channels.StepInterval <= kMaxStepInterval);
    }
    if (size > 0) {  // an empty file has no header and loads nothing
        ORVANE_FUZZ_CHECK(channels.Steps.size() == kStudyChimeSteps);
    }
    LoadChimeScore(channels, kWholeChime, path, observer);
    const qsizetype steps = std::min<qsizetype>(channels.Steps.size(), 512);
    for (qsizetype i = 0; i <= steps; ++i) {
        const StepPlan plan = PlanStep(channels.Steps, i, context);
        ORVANE_FUZZ_CHECK(plan.volumeLevel >= 0 && plan.volumeLevel <= 255);
    }
    return 0;
}
