// Step onsets of the real playback controller against a perfect grid. A main window plays a
// 500-step whole chime (chords of up to 8 bells) whose tempo changes from 50 to 1000 ms per step
// along the way, on its real playback timer and event loop, while the user-interface thread
// stalls at random for up to 15 ms. The offline output is driven in real time from its own
// thread, like a sound card, and the engine's start log gives every voice's start frame.
//
// The figure is the largest distance between a voice's start frame and its ideal frame, the
// ideal frames of a run of ticks on one grid (from a timer start or a tempo change to the next)
// being the perfect grid of the step interval placed to minimise that distance. Scheduled: the
// program as it is (voices at the frame of the tick's ideal time + 20 ms). Unscheduled: voices
// start at the next buffer after the tick has run.

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
#include <thread>

#include "BenchRegistry.h"
#include "app/core/TextFile.h"
#include "BenchProgram.h"
#include "chime/core/ChimeScore.h"
#include "chime/ui/PlayerController.h"
#include "chime/core/TChannels.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/OnsetHarness.h"
#include "sound/SoundFiles.h"
#include "sound/ui/VoiceController.h"

namespace {

constexpr int kRate = 48000;

// Steps and interval (ms) of the tempo segments of the chime, 500 steps in all.
constexpr std::pair<int, int> kSegments[] = {{234, 50}, {120, 75}, {70, 100}, {40, 144},
                                             {20, 250}, {12, 500}, {4, 1000}};

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

struct TickRecord {
    std::int64_t grid;  // anchorings of the step clock so far: one grid per value
    std::int64_t tick;  // the tick's number on its grid
    int intervalMs;
    qsizetype voices;
};

// Plays the chime once on a fresh main window and returns the onset error in frames (-1 when
// the start log does not match the ticks).
std::int64_t PlayOnce(bool scheduled) {
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/program");
    MakeProgram(program);
    orvane::OfflineOutput* offline = nullptr;
    orvane::StartOptions options;
    options.appDir = program;
    options.cacheDir = dir.path() + QStringLiteral("/cache");
    options.messageBox = [](const QString&, const QString&) {};
    options.outputFactory = [&offline]() -> std::unique_ptr<orvane::AudioOutput> {
        auto output = std::make_unique<orvane::OfflineOutput>();
        offline = output.get();
        return output;
    };
    bench::BenchWindow w(options);
    w.CreateSecondaryWindows();
    orvane::PlayerController& player = w.player;
    player.SetStepScheduling(scheduled);
    orvane::AudioEngine& engine = w.voices.Engine();
    const QString score = dir.path() + QStringLiteral("/chime.kol");
    orvane::WriteTextLines(score, MakeChime());
    player.ResetPlayer();
    orvane::LoadChimeScore(*w.data.Channels, orvane::kWholeChime, score, player.ScoreObserver());

    bench::RealTimeDriver driver(*offline);
    driver.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the frame clock settles
    engine.SetStartLog(true);

    std::vector<TickRecord> ticks;
    auto record = [&] {
        const orvane::StepClock& clock = player.Timing();
        ticks.push_back(
            {clock.Anchorings(), clock.Tick(), clock.IntervalMs(), w.data.Channels->StepSounds.size()});
    };
    QEventLoop loop;
    // After every tick of the player (connected after its handler): record, change the tempo
    // at the segment ends, stop at the chime's end.
    std::vector<int> boundaries;
    int total = 0;
    for (const auto& [steps, interval] : kSegments) {
        total += steps;
        boundaries.push_back(total);
    }
    QObject::connect(w.form.mmTimer, &QTimer::timeout, &loop, [&] {
        if (!player.Playing()) {
            loop.quit();
            return;
        }
        record();
        const auto at = std::find(boundaries.begin(), boundaries.end(), w.transportModel.StepPosition + 1);
        if (at != boundaries.end() && at + 1 != boundaries.end()) {
            w.form.tbTemp->SetPosition(kSegments[at - boundaries.begin() + 1].second);
        }
    });
    // The stalls of a busy window: 0 to 15 ms, every 20 to 60 ms.
    std::mt19937 random(1);
    QTimer stall;
    stall.setTimerType(Qt::PreciseTimer);
    stall.setSingleShot(true);
    QObject::connect(&stall, &QTimer::timeout, &loop, [&] {
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 15001));
        stall.start(20 + static_cast<int>(random() % 41));
    });
    stall.start(30);
    w.form.tbTemp->SetPosition(kSegments[0].second);
    player.btnPlayClick();
    record();
    loop.exec();
    stall.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the last voices start
    driver.Stop();

    std::vector<orvane::VoiceStart> starts = engine.TakeVoiceStarts();
    std::stable_sort(starts.begin(), starts.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    qsizetype expected = 0;
    for (const TickRecord& t : ticks) {
        expected += t.voices;
    }
    if (static_cast<qsizetype>(starts.size()) != expected || ticks.size() != 500) {
        std::fprintf(stderr, "step onsets: %zu voices for %lld expected, %zu ticks\n",
                     starts.size(), static_cast<long long>(expected), ticks.size());
        return -1;
    }
    // Deviation of each voice from its tick's place on the grid, per grid.
    std::map<std::int64_t, std::pair<double, double>> range;
    std::size_t next = 0;
    for (const TickRecord& t : ticks) {
        const double place = t.tick * t.intervalMs * (kRate / 1000.0);
        for (qsizetype v = 0; v < t.voices; ++v) {
            const double deviation = static_cast<double>(starts[next++].frame) - place;
            auto [it, fresh] = range.try_emplace(t.grid, deviation, deviation);
            it->second.first = std::min(it->second.first, deviation);
            it->second.second = std::max(it->second.second, deviation);
        }
    }
    double worst = 0.0;
    for (const auto& [grid, lowHigh] : range) {
        worst = std::max(worst, (lowHigh.second - lowHigh.first) / 2.0);
    }

    return static_cast<std::int64_t>(std::ceil(worst));
}

const bench::Register kStepOnsets({"onset_error_max_frames", "onset_error_max_frames_unscheduled"},
                                  [] {
                                      bench::Print("onset_error_max_frames",
                                                   static_cast<double>(PlayOnce(true)), "frames");
                                      bench::Print("onset_error_max_frames_unscheduled",
                                                   static_cast<double>(PlayOnce(false)), "frames");
                                  });

}  // namespace
