// The instrument's sound path as a user meets it, on the shipped bell sounds of the built
// program folder:
// - chord_peak_dbfs, clipped_samples: the densest chime of the shipped library (most bell
//   strokes per second), all fifteen bells, volume 255, rendered offline; the output's peak and
//   the number of samples at or beyond full scale.
// - single_bell_limiter_diff: every bell alone at volume 255, with and without the limiter; the
//   largest sample difference.
// - first_strike_ms_max: a fresh engine on a real-time output is told to decode every bell of
//   both sets in the background (start-up), the set is chosen ("Select all bells": the heads
//   it lacks are decoded before the choice returns), and every bell is struck at once, without
//   waiting; the largest time from a strike to the output of its first frame. Beside it the
//   longest strike call and the time the choice took.
// - first_strike_unprepared_ms: the same engine with every bell decoded and the set chosen, then
//   one bell's file is touched (its sound must be decoded again, as if never prepared) and the
//   bell struck; the time from the strike to the output of its first frame, and the time the
//   strike call took (first_strike_unprepared_call_ms), over 20 strikes (median, min, max).
//   The same with the background thread busy, as at start-up: the cache is emptied and the set
//   queued for decoding again just before the strike (first_strike_unprepared_busy_ms and
//   first_strike_unprepared_busy_call_ms).
// - rss_mb_all_bells: resident memory of this process with all fifteen bells of both sets
//   decoded.

#include <QDirIterator>
#include <QTemporaryDir>
#include <filesystem>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <thread>

#include "BenchRegistry.h"
#include "catalogue/core/BellSet.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/StepPlan.h"
#include "chime/core/TChannels.h"
#include "sound/PacedRender.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/core/VolumeControl.h"

#include "sound/WholeBellSet.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 48000;

QString SoundPath(const QString& set, int bell) {
    return QStringLiteral(ORVANE_PROGRAM_DIR "/Sound/%1/bell%2.wav")
        .arg(set)
        .arg(bell, 2, 10, QLatin1Char('0'));
}

bool HaveSounds() {
    if (QFileInfo::exists(SoundPath(QStringLiteral("Stereo"), 14))) {
        return true;
    }
    std::fprintf(stderr, "build the program folder first (orvane_program_data)\n");
    return false;
}

orvane::StepContext WholeSet(const QString& folder) {
    orvane::StepContext context = bench::WholeBellSet(folder);
    context.volumeLevel = 255;
    return context;
}

struct Chime {
    QString path;
    QStringList steps;
    int interval = 0;
    double strokesPerSecond = 0;
};

Chime DensestChime(const orvane::StepContext& context) {
    Chime densest;
    // The shipped library as the setup program installs it (from the source tree's data).
    QDirIterator it(QStringLiteral(ORVANE_SOURCE_DIR "/data/Chime"), {QStringLiteral("*.kol")},
                    QDir::Files, QDirIterator::Subdirectories);
    bench::NoObserver observer;
    while (it.hasNext()) {
        const QString path = it.next();
        orvane::TChannels channels;
        orvane::LoadChimeScore(channels, orvane::kWholeChime, path, observer);
        if (channels.Steps.isEmpty() || channels.StepInterval <= 0) {
            continue;
        }
        qsizetype strokes = 0;
        for (qsizetype i = 0; i < channels.Steps.size(); ++i) {
            strokes += orvane::PlanStep(channels.Steps, i, context).soundFiles.size();
        }
        const double perSecond =
            static_cast<double>(strokes) * 1000.0 /
            (static_cast<double>(channels.Steps.size()) * channels.StepInterval);
        if (perSecond > densest.strokesPerSecond) {
            densest = {path, channels.Steps, channels.StepInterval, perSecond};
        }
    }
    return densest;
}

struct Level {
    float peak = 0.0f;
    std::int64_t clipped = 0;
    void Add(const std::vector<float>& samples) {
        for (const float s : samples) {
            peak = std::max(peak, std::abs(s));
            clipped += std::abs(s) >= 1.0f ? 1 : 0;
        }
    }
};

double Dbfs(float peak) {
    return 20.0 * std::log10(std::max(peak, 1e-9f));
}

// Renders the chime offline, each step at its frame, volume marks applied; the output level.
Level RenderChime(const Chime& chime, const orvane::StepContext& context, bool limiter) {
    auto output = std::make_unique<orvane::OfflineOutput>();
    orvane::OfflineOutput* offline = output.get();
    orvane::AudioEngine engine(std::move(output));
    engine.SetLimiterEnabled(limiter);
    int level = 255;
    engine.WriteVolumeWord(orvane::VolumeControl::VolumeWord(level));
    Level measured;
    std::vector<orvane::AudioEngine::VoiceId> open;
    const std::int64_t stepFrames = std::int64_t{chime.interval} * kRate / 1000;
    for (qsizetype step = 0; step < chime.steps.size(); ++step) {
        const std::int64_t frame = step * stepFrames;
        measured.Add(offline->Render(frame - offline->FramesRendered()));
        std::erase_if(open, [&](orvane::AudioEngine::VoiceId v) {
            if (engine.IsVoicePlaying(v)) {
                return false;
            }
            engine.CloseVoice(v);
            return true;
        });
        orvane::StepContext now = context;
        now.volumeLevel = level;
        const orvane::StepPlan plan = orvane::PlanStep(chime.steps, step, now);
        if (plan.volumeLevel != level) {
            level = plan.volumeLevel;
            engine.WriteVolumeWord(orvane::VolumeControl::VolumeWord(level));
        }
        for (const QString& file : plan.soundFiles) {
            orvane::AudioEngine::VoiceId voice = -1;
            if (engine.OpenVoice(file, voice) == orvane::EngineError::kNone) {
                engine.Cache().WaitIdle();  // offline rendering outruns any decode
                engine.PlayVoiceAt(voice, frame);
                open.push_back(voice);
            }
        }
    }
    measured.Add(offline->Render(20 * kRate));
    return measured;
}

bench::Register chord({"chord_peak_dbfs", "clipped_samples"}, [] {
    if (!HaveSounds()) {
        return;
    }
    const orvane::StepContext context =
        WholeSet(QStringLiteral(ORVANE_PROGRAM_DIR "/Sound/Stereo/"));
    const Chime chime = DensestChime(context);
    if (chime.steps.isEmpty()) {
        std::fprintf(stderr, "chord_peak_dbfs: no chime in the shipped library\n");
        return;
    }
    std::fprintf(stderr, "chord_peak_dbfs: %s, %lld steps at %d ms, %.1f strokes/s\n",
                 qPrintable(QFileInfo(chime.path).fileName()),
                 static_cast<long long>(chime.steps.size()), chime.interval,
                 chime.strokesPerSecond);
    const Level limited = RenderChime(chime, context, true);
    bench::Print("chord_peak_dbfs", Dbfs(limited.peak), "dBFS");
    bench::Print("clipped_samples", static_cast<double>(limited.clipped), "samples");
    // The same mix only clamped at full scale, as without the limiter.
    const Level clamped = RenderChime(chime, context, false);
    bench::Print("clipped_samples_no_limiter", static_cast<double>(clamped.clipped), "samples");
});

// One bell from its first to its last frame at volume 255.
std::vector<float> RenderBell(const QString& path, bool limiter) {
    auto output = std::make_unique<orvane::OfflineOutput>();
    orvane::OfflineOutput* offline = output.get();
    orvane::AudioEngine engine(std::move(output));
    engine.SetLimiterEnabled(limiter);
    engine.WriteVolumeWord(orvane::VolumeControl::VolumeWord(255));
    orvane::AudioEngine::VoiceId voice = -1;
    engine.OpenVoice(path, voice);
    engine.Cache().WaitIdle();
    engine.PlayVoice(voice);
    offline->SetKeepAll(true);
    while (engine.IsVoicePlaying(voice)) {
        offline->Render(kRate);
    }
    return offline->AllSamples();
}

bench::Register singleBell({"single_bell_limiter_diff"}, [] {
    if (!HaveSounds()) {
        return;
    }
    float diff = 0.0f;
    float loudest = 0.0f;
    for (const QString& set : {QStringLiteral("Stereo"), QStringLiteral("Mono")}) {
        for (int bell = 0; bell < orvane::BellSet::kBellCount; ++bell) {
            const std::vector<float> on = RenderBell(SoundPath(set, bell), true);
            const std::vector<float> off = RenderBell(SoundPath(set, bell), false);
            if (on.size() != off.size()) {
                diff = 1e9f;
                continue;
            }
            for (std::size_t i = 0; i < on.size(); ++i) {
                diff = std::max(diff, std::abs(on[i] - off[i]));
                loudest = std::max(loudest, std::abs(off[i]));
            }
        }
    }
    bench::Print("single_bell_limiter_diff", diff, "");
    bench::Print("single_bell_peak_dbfs", Dbfs(loudest), "dBFS");
});

// The median as the figure, and "_min" and "_max" lines beside it, in milliseconds.
void PrintMedianMinMax(const std::string& name, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    bench::Print(name, values[values.size() / 2], "ms");
    bench::Print(name + "_min", values.front(), "ms");
    bench::Print(name + "_max", values.back(), "ms");
}

// A real-time engine for the strike figures: an offline output of 128-frame buffers, paced at
// the nominal rate by `paced` once started.
std::unique_ptr<orvane::OfflineOutput> StrikeOutput() {
    orvane::OfflineOutput::Options options;
    options.sampleRate = kRate;
    options.bufferFrames = 128;
    return std::make_unique<orvane::OfflineOutput>(options);
}

// Milliseconds from `struck` to the time the voice's first frame was output, waiting up to 2 s
// for it (1e9 when it never came).
double StrikeToFirstFrameMs(orvane::AudioEngine& engine, const bench::PacedRender& paced,
                            orvane::AudioEngine::VoiceId voice, Clock::time_point struck) {
    std::optional<Clock::time_point> sounded;
    const auto giveUp = Clock::now() + std::chrono::seconds(2);
    while (!sounded && Clock::now() < giveUp) {
        if (const auto frame = engine.VoiceStartFrame(voice)) {
            sounded = paced.TimeOfFrame(*frame);
        }
        if (!sounded) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    return sounded ? std::chrono::duration<double, std::milli>(*sounded - struck).count() : 1e9;
}

bench::Register firstStrike({"first_strike_ms_max"}, [] {
    if (!HaveSounds()) {
        return;
    }
    std::vector<double> rounds;
    std::vector<double> calls;    // the longest strike call of each round: what the window waits
    std::vector<double> choices;  // the set choice itself (heads decoded before it returns)
    for (int round = 0; round < 10; ++round) {
        auto output = StrikeOutput();
        orvane::OfflineOutput* offline = output.get();
        orvane::AudioEngine engine(std::move(output));
        bench::PacedRender paced(*offline, kRate / 128 * 60);
        paced.Start();
        engine.SetStartLog(true);
        QStringList all;
        QStringList set;
        for (const QString& folder : {QStringLiteral("Stereo"), QStringLiteral("Mono")}) {
            for (int bell = 0; bell < orvane::BellSet::kBellCount; ++bell) {
                all << SoundPath(folder, bell);
            }
        }
        set = all.mid(0, orvane::BellSet::kBellCount);
        // Start-up queues both sets for the background thread; at once the user chooses "Select
        // all bells", which decodes what is missing of the set's heads before it returns (as
        // VoiceController::PrepareBellSet does), and strikes every bell without waiting.
        engine.Preload(all);
        const auto chosen = Clock::now();
        engine.PrepareSounds(set);
        choices.push_back(std::chrono::duration<double, std::milli>(Clock::now() - chosen).count());
        std::vector<Clock::time_point> struck;
        std::vector<orvane::AudioEngine::VoiceId> voices;
        double longestCall = 0.0;
        for (const QString& path : set) {
            struck.push_back(Clock::now());
            orvane::AudioEngine::VoiceId voice = -1;
            engine.OpenVoice(path, voice);
            engine.PlayVoice(voice);
            voices.push_back(voice);
            longestCall = std::max(
                longestCall,
                std::chrono::duration<double, std::milli>(Clock::now() - struck.back()).count());
        }
        calls.push_back(longestCall);
        // The time each voice's first frame was output, from its start frame.
        double worst = 0.0;
        for (std::size_t i = 0; i < voices.size(); ++i) {
            worst = std::max(worst, StrikeToFirstFrameMs(engine, paced, voices[i], struck[i]));
        }
        rounds.push_back(worst);
        paced.Stop();
        engine.Cache().WaitIdle();
    }
    PrintMedianMinMax("first_strike_ms_max", rounds);
    PrintMedianMinMax("first_strike_call_ms_max", calls);
    PrintMedianMinMax("select_all_prepare_ms", choices);
});

bench::Register firstStrikeUnprepared({"first_strike_unprepared_ms"}, [] {
    if (!HaveSounds()) {
        return;
    }
    // Copies of the set's sounds, so that touching them leaves the program folder alone.
    QTemporaryDir dir;
    QStringList set;
    for (int bell = 0; bell < orvane::BellSet::kBellCount; ++bell) {
        set << dir.filePath(QStringLiteral("bell%1.wav").arg(bell, 2, 10, QLatin1Char('0')));
        QFile::copy(SoundPath(QStringLiteral("Stereo"), bell), set.back());
    }
    auto output = StrikeOutput();
    orvane::OfflineOutput* offline = output.get();
    orvane::AudioEngine engine(std::move(output));
    bench::PacedRender paced(*offline, kRate / 128 * 120);
    paced.Start();
    engine.Preload(set);
    engine.PrepareSounds(set);
    engine.Cache().WaitIdle();
    std::vector<double> calls;
    std::vector<double> sounded;
    std::vector<double> busyCalls;
    std::vector<double> busySounded;
    for (int round = 0; round < 40; ++round) {
        const bool busy = round % 2 == 1;
        const QString path = set.at(round / 2 % orvane::BellSet::kBellCount);
        if (busy) {
            engine.Cache().Clear();
            engine.Preload(set);
        }
        const std::filesystem::path native(QFile::encodeName(path).toStdString());
        std::filesystem::last_write_time(
            native, std::filesystem::last_write_time(native) + std::chrono::seconds(1));
        const auto struck = Clock::now();
        orvane::AudioEngine::VoiceId voice = -1;
        engine.OpenVoice(path, voice);
        engine.PlayVoice(voice);
        (busy ? busyCalls : calls)
            .push_back(std::chrono::duration<double, std::milli>(Clock::now() - struck).count());
        (busy ? busySounded : sounded).push_back(StrikeToFirstFrameMs(engine, paced, voice, struck));
        engine.Cache().WaitIdle();
        engine.CloseVoice(voice);
    }
    paced.Stop();
    PrintMedianMinMax("first_strike_unprepared_ms", sounded);
    PrintMedianMinMax("first_strike_unprepared_call_ms", calls);
    PrintMedianMinMax("first_strike_unprepared_busy_ms", busySounded);
    PrintMedianMinMax("first_strike_unprepared_busy_call_ms", busyCalls);
});

double ResidentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return -1;
}

bench::Register memory({"rss_mb_all_bells"}, [] {
    if (!HaveSounds()) {
        return;
    }
    auto output = std::make_unique<orvane::OfflineOutput>();
    orvane::AudioEngine engine(std::move(output));
    QStringList all;
    for (const QString& set : {QStringLiteral("Stereo"), QStringLiteral("Mono")}) {
        for (int bell = 0; bell < orvane::BellSet::kBellCount; ++bell) {
            all << SoundPath(set, bell);
        }
    }
    engine.Preload(all);
    engine.Cache().WaitIdle();
    bench::Print("rss_mb_all_bells", ResidentMb(), "MB");
    bench::Print("decoded_mb_all_bells",
                 static_cast<double>(engine.Cache().DecodedBytes()) / (1024.0 * 1024.0), "MB");
});

}  // namespace
