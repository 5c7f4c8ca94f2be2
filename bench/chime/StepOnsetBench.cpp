// Step onsets of the real playback controller against the step grid. A main window plays a
// 500-step whole chime (chords of one to eight bells) whose tempo changes from 50 to 1000 ms per
// step along the way, on its real playback timer and event loop, while the user-interface thread
// stalls at random (0 to 250 ms, every 20 to 60 ms). The offline output is driven in real time
// from its own thread (128-frame buffers at 48 kHz, like a sound card), the engine's sequencer
// plays the plan the player handed it, and the engine's start log gives every voice's frame.
// The tempo changes come from the window's timer (as the slider would), when the window has
// seen the last step of a segment.
//
// onset_error_max_frames: the largest distance between a step's voices and their step's frame on
// its grid (the previous step's frame plus the interval in use); the first step of each grid (the
// Play, and the next step after a tempo change, which restarts the grid one interval after the
// change) starts its grid and is not measured. late_steps: steps that sounded after their grid
// frame (the sequencer's count), that did not sound, or whose voices did not start together. The
// "_loaded" figures run while two busy-looping processes compete for the cores.

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "BenchRegistry.h"
#include "BenchStats.h"
#include "app/core/TextFile.h"
#include "BenchProgram.h"
#include "chime/core/ChimeScore.h"
#include "chime/ui/PlayerController.h"
#include "chime/core/TChannels.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/BusyLoad.h"
#include "sound/OnsetHarness.h"
#include "sound/SoundFiles.h"
#include "sound/ui/VoiceController.h"

namespace {

constexpr int kRate = 48000;

// The tempo segments of the 500-step score.
constexpr auto& kSegments = bench::kOnsetSegments;

// A copy of the built program folder with short bell sounds (so that the voices of 64 steps,
// which stay open until the sweep, fit the engine's voice pool), on the whole bell set.
void MakeProgram(const QString& to) {
    const QDir source(QStringLiteral(ORVANE_PROGRAM_DIR));
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    int bell = 0;
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = source.relativeFilePath(from);
        const QString target = to + u'/' + relative;
        QDir().mkpath(QFileInfo(target).path());
        if (relative.startsWith(QStringLiteral("Sound/"))) {
            const int channels = relative.startsWith(QStringLiteral("Sound/Stereo")) ? 2 : 1;
            bench::WriteBellSound(target, channels, 0.25, 200.0 + 40.0 * (bell++ % 15));
        } else {
            QFile::copy(from, target);
        }
    }
    orvane::WriteTextLines(to + QStringLiteral("/orvane.ini"),
                           {"[Serial]", "Bells=111111111111111", "Types=bbbbbmmmmmmmsss",
                            "[Settings]", "Grid=0", "Stereo=0", "Animate=0", "Notes=0", "View=0"});
}

// 500 steps of chords of 1 to 8 bells (mostly small chords), header interval 50 ms.
QStringList MakeChime() {
    std::mt19937 random(3);
    static const QStringList kMarks = {"b1", "b2", "b3", "b4", "b5", "m1", "m2", "m3",
                                       "m4", "m5", "m6", "m7", "s1", "s2", "s3"};
    static const int kChordSizes[] = {1, 1, 1, 1, 2, 2, 3, 8};
    QStringList lines{QStringLiteral("50")};
    for (int step = 0; step < 500; ++step) {
        QStringList marks = kMarks;
        std::shuffle(marks.begin(), marks.end(), random);
        lines.append(marks.mid(0, kChordSizes[random() % 8]).join(u','));
    }
    return lines;
}

struct Result {
    std::int64_t maxError = -1;
    std::int64_t lateSteps = -1;
};

// Plays the chime once on a fresh main window.
Result PlayOnce(unsigned seed) {
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/program");
    MakeProgram(program);
    orvane::OfflineOutput* offline = nullptr;
    orvane::StartOptions options;
    options.appDir = program;
    options.cacheDir = dir.path() + QStringLiteral("/cache");
    options.messageBox = [](const QString&, const QString&) {};
    options.outputFactory = bench::OfflineOutputFactory(offline);
    bench::BenchWindow w(options);
    w.CreateSecondaryWindows();
    orvane::PlayerController& player = w.player;
    orvane::AudioEngine& engine = w.voices.Engine();
    const QString score = dir.path() + QStringLiteral("/chime.kol");
    orvane::WriteTextLines(score, MakeChime());
    player.ResetPlayer();
    orvane::LoadChimeScore(*w.data.Channels, orvane::kWholeChime, score, player.ScoreObserver());

    bench::RealTimeDriver driver(*offline);
    driver.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the frame clock settles
    engine.SetStartLog(true);
    const orvane::StepSequencer& sequencer = engine.Sequencer();
    const std::uint64_t lateBefore = sequencer.LateSteps();

    // Frames rendered when each tempo change was sent: the next step starts a new grid.
    std::vector<std::int64_t> changes;
    std::vector<int> boundaries;
    int total = 0;
    for (const auto& [steps, interval] : kSegments) {
        total += steps;
        boundaries.push_back(total);
    }
    std::size_t segment = 0;
    QEventLoop loop;
    // After every tick of the player (connected after its handler).
    QObject::connect(w.form.mmTimer, &QTimer::timeout, &loop, [&] {
        if (!player.Playing()) {
            loop.quit();
            return;
        }
        if (segment + 1 < boundaries.size() &&
            w.transportModel.StepPosition >= boundaries[segment] - 1) {
            ++segment;
            changes.push_back(engine.FramesRendered());
            w.form.tbTemp->SetPosition(kSegments[segment].second);
        }
    });
    // The stalls of a busy window.
    std::mt19937 random(seed);
    QTimer stall;
    stall.setTimerType(Qt::PreciseTimer);
    stall.setSingleShot(true);
    QObject::connect(&stall, &QTimer::timeout, &loop, [&] {
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 250001));
        stall.start(20 + static_cast<int>(random() % 41));
    });
    stall.start(30);
    w.form.tbTemp->SetPosition(kSegments[0].second);
    player.btnPlayClick();
    QTimer::singleShot(180'000, &loop, &QEventLoop::quit);
    loop.exec();
    stall.stop();
    driver.Stop();

    // Step frames: the voices of a step share one frame.
    std::map<std::int64_t, int> voicesAt;
    for (const orvane::VoiceStart& s : engine.TakeVoiceStarts()) {
        ++voicesAt[s.frame];
    }
    const std::set<std::int64_t> intervals = bench::OnsetSegmentIntervals(kRate);
    Result result{0, static_cast<std::int64_t>(sequencer.LateSteps() - lateBefore)};
    std::int64_t previous = -1;
    std::size_t change = 0;
    for (const auto& [frame, count] : voicesAt) {
        bool gridStart = previous < 0;
        while (change < changes.size() && changes[change] <= frame) {
            // The first step after a change starts the new grid.
            gridStart = gridStart || changes[change] > previous;
            ++change;
        }
        if (!gridStart) {
            const std::int64_t best = bench::GridDistance(frame - previous, intervals);
            result.maxError = std::max(result.maxError, best);
            result.lateSteps += best > 1 ? 1 : 0;
        }
        previous = frame;
    }
    result.lateSteps += std::abs(500 - static_cast<std::int64_t>(voicesAt.size()));
    return result;
}

// Three plays, each on its own stall pattern: the median with the spread.
void PrintRuns(unsigned seed, const std::string& suffix) {
    std::vector<double> errors;
    std::vector<double> late;
    for (unsigned run = 0; run < 3; ++run) {
        const Result r = PlayOnce(seed + run);
        errors.push_back(static_cast<double>(r.maxError));
        late.push_back(static_cast<double>(r.lateSteps));
    }
    bench::PrintSpread("onset_error_max_frames" + suffix, errors, "frames");
    bench::PrintSpread("late_steps" + suffix, late, "steps");
}

const bench::Register kStepOnsets({"onset_error_max_frames", "late_steps"},
                                  [] { PrintRuns(1, ""); });

const bench::Register kStepOnsetsLoaded({"onset_error_max_frames_loaded", "late_steps_loaded"}, [] {
    const bench::BusyLoad load(2);
    PrintRuns(11, "_loaded");
});

}  // namespace
