#include "BenchProgram.h"
#include "BenchStats.h"
#include "BenchRegistry.h"

#include "chime/core/ChimeExporter.h"
#include "app/ui/ControllerWidgets.h"
#include "chime/ui/ExportController.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

namespace {

// A ten-minute chime on all fifteen bells (two great, ten medium-size, three small) at
// 150 ms a step: a small bell on every step, a medium-size bell on every second, a great bell
// on every eighth, so that every bell sounds and rings over the next strikes.
QStringList TenMinuteSteps(int intervalMs) {
    QStringList steps;
    const int count = 10 * 60 * 1000 / intervalMs;
    for (int i = 0; i < count; ++i) {
        QStringList marks{QStringLiteral("s%1").arg(i % 3 + 1)};
        if (i % 2 == 0) {
            marks << QStringLiteral("m%1").arg((i / 2) % 10 + 1);
        }
        if (i % 8 == 0) {
            marks << QStringLiteral("b%1").arg((i / 8) % 2 + 1);
        }
        steps << marks.join(u',');
    }
    return steps;
}

// Seconds of audio exported per second of wall time, for the chime above written as 16-bit
// WAV: median, minimum and maximum of five exports (the first decodes the sounds).
void ExportRealtimeFactor() {
    QTemporaryDir dir;
    const orvane::StartOptions options = bench::ProgramCopyOptions(dir.path());
    bench::BenchWindow w(options);
    w.bellModel.Bells.Clear();
    for (int bell = 0; bell < orvane::BellSet::kBellCount; ++bell) {
        w.bellModel.Bells.inSet[bell] = true;
        w.bellModel.Bells.group[bell] = bell < 2    ? orvane::kGreatGroup
                              : bell < 12 ? orvane::kMiddleGroup
                                          : orvane::kSmallGroup;
    }
    orvane::ExportSettings settings = orvane::CurrentExportSettings(
        orvane::ExportWidgetsOf(w.form), w.data, w.bellModel.Bells, w.voices, w.volume);
    settings.intervalMs = 150;
    settings.steps = TenMinuteSteps(settings.intervalMs);
    settings.format = orvane::ExportFormat::kWav16;
    std::vector<double> factors;
    for (int round = 0; round < 5; ++round) {
        orvane::ChimeExporter exporter(settings);
        QElapsedTimer timer;
        timer.start();
        const auto result = exporter.Export(dir.filePath(QStringLiteral("chime.wav")));
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (result != orvane::ChimeExporter::Result::kDone) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(exporter.ErrorText()));
            return;
        }
        factors.push_back(static_cast<double>(exporter.FramesWritten()) / settings.sampleRate /
                          seconds);
    }
    bench::PrintSpread("export_realtime_factor", factors, "x");
}

const bench::Register kRegister({"export_realtime_factor"}, ExportRealtimeFactor);

}  // namespace
