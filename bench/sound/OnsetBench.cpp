// Step onsets against a perfect grid, the engine side alone: a simulated UI thread plays one
// voice per 144 ms tick, reaching each tick up to 15 ms late, while the output runs in real
// time. Scheduled: voices start at FrameAt(ideal time) + 20 ms. Unscheduled: at the next
// buffer after the command.

#include <QTemporaryDir>

#include "BenchRegistry.h"
#include "sound/OnsetHarness.h"
#include "sound/SoundFiles.h"

namespace {

bench::Register onsets({"onset_error_max_frames", "onset_error_max_frames_unscheduled"}, [] {
    QTemporaryDir dir;
    const QString path = dir.filePath("tick.wav");
    bench::WriteBellSound(path, 1, 0.5, 440.0);
    for (const bool scheduled : {true, false}) {
        auto output = std::make_unique<orvane::OfflineOutput>();
        orvane::OfflineOutput& offline = *output;
        orvane::AudioEngine engine(std::move(output));
        bench::RealTimeDriver driver(offline);
        driver.Start();
        bench::OnsetOptions options;
        options.scheduled = scheduled;
        const std::int64_t error = bench::MeasureOnsetError(engine, path, options);
        driver.Stop();
        bench::Print(scheduled ? "onset_error_max_frames" : "onset_error_max_frames_unscheduled",
                     static_cast<double>(error), "frames");
    }
});

}  // namespace
