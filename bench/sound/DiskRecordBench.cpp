// A chime recorded through the real sound output while two busy-looping processes compete for
// the cores. Run with SDL's disk driver (SDL_AUDIODRIVER=disk, SDL_DISKAUDIOFILE=<raw file>),
// which takes the buffers at the pace of a sound card and writes them raw (32-bit float stereo
// at 48 kHz). The first 300 steps of the densest shipped chime are played by the audio-side
// sequencer twice:
// - with the shipped bells, all fifteen, at volume 255: disk_peak_dbfs_loaded is the peak of the
//   raw recording, disk_clipped_samples_loaded the samples at or beyond full scale;
// - with every bell replaced by a 3 ms click: the onsets found in the raw recording are compared
//   with the step grid (the first onset's frame plus whole steps); disk_onset_error_max_frames
//   _loaded is the largest distance, disk_late_steps_loaded the sounding steps without an onset
//   within one frame of their grid point.

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include <sndfile.h>
#include <cstring>
#include "BenchRegistry.h"
#include "catalogue/core/BellSet.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/ChimeScoreObserver.h"
#include "chime/core/SequencePlanner.h"
#include "chime/core/TChannels.h"
#include "sound/BusyLoad.h"
#include "sound/SoundFiles.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/SdlOutput.h"
#include "sound/core/VolumeControl.h"

#include "sound/WholeBellSet.h"

namespace {

constexpr int kRate = 48000;
constexpr int kSteps = 300;

orvane::StepContext WholeSet(const QString& folder) { return bench::WholeBellSet(folder); }

// Plays `plan` through a fresh engine on the sound device and returns the raw recording.
std::vector<float> Record(orvane::SequencePlan plan, int intervalMs, const QString& rawFile) {
    QFile::remove(rawFile);
    {
        orvane::AudioEngine engine(std::make_unique<orvane::SdlOutput>());
        if (!engine.HasDevice()) {
            return {};
        }
        engine.WriteVolumeWord(orvane::VolumeControl::VolumeWord(255));
        engine.Preload(plan.soundPaths);
        engine.Cache().WaitIdle();
        orvane::StepSequencer& seq = engine.Sequencer();
        engine.LoadSequence(std::move(plan));
        seq.SetInterval(intervalMs);
        seq.Play();
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        while (seq.StepsPlayed() == 0 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        while (seq.Playing() && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::this_thread::sleep_for(std::chrono::seconds(3));  // the last bells ring on
    }
    QFile raw(rawFile);
    if (!raw.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = raw.readAll();
    std::vector<float> samples(static_cast<std::size_t>(bytes.size()) / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

bench::Register disk(
    {"disk_peak_dbfs_loaded", "disk_clipped_samples_loaded", "disk_onset_error_max_frames_loaded",
     "disk_late_steps_loaded"},
    [] {
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        const QString rawFile = QString::fromLocal8Bit(qgetenv("SDL_DISKAUDIOFILE"));
        if (driver != "disk" || rawFile.isEmpty()) {
            std::fprintf(stderr,
                         "disk_*: run with SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=<file>\n");
            return;
        }
        const QString chimePath =
            QStringLiteral(ORVANE_SOURCE_DIR "/data/Chime/common/trezvon_easter.kol");
        orvane::TChannels channels;
        bench::NoObserver observer;
        orvane::LoadChimeScore(channels, orvane::kWholeChime, chimePath, observer);
        if (channels.Steps.size() < kSteps) {
            std::fprintf(stderr, "disk_*: %s has too few steps\n", qPrintable(chimePath));
            return;
        }
        const QStringList steps = channels.Steps.mid(0, kSteps);
        const int interval = channels.StepInterval;
        const bench::BusyLoad load(2);

        // The bells.
        const orvane::SequencePlan bells = orvane::PlanSequence(
            steps, WholeSet(QStringLiteral(ORVANE_PROGRAM_DIR "/Sound/Stereo/")));
        const std::vector<float> take = Record(bells, interval, rawFile);
        if (take.empty()) {
            std::fprintf(stderr, "disk_*: no recording\n");
            return;
        }
        float peak = 0.0f;
        std::int64_t clipped = 0;
        for (const float s : take) {
            peak = std::max(peak, std::abs(s));
            clipped += std::abs(s) >= 1.0f ? 1 : 0;
        }
        bench::Print("disk_peak_dbfs_loaded", 20.0 * std::log10(std::max(peak, 1e-9f)), "dBFS");
        bench::Print("disk_clipped_samples_loaded", static_cast<double>(clipped), "samples");

        // The clicks: the same steps, one click file for every bell.
        QTemporaryDir dir;
        const QString click = dir.filePath(QStringLiteral("click.wav"));
        std::vector<float> burst(144, 0.0f);
        for (std::size_t i = 0; i < burst.size(); ++i) {
            burst[i] = 0.5f * std::exp(-static_cast<float>(i) / 30.0f);
        }
        SF_INFO info{};
        info.samplerate = kRate;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        if (SNDFILE* file = sf_open(QFile::encodeName(click).constData(), SFM_WRITE, &info)) {
            sf_writef_float(file, burst.data(), static_cast<sf_count_t>(burst.size()));
            sf_close(file);
        }
        orvane::SequencePlan clicks = bells;
        for (QString& path : clicks.soundPaths) {
            path = click;
        }
        const std::vector<float> clickTake = Record(clicks, interval, rawFile);
        // Onsets: the first sample above a threshold after at least 10 ms of silence.
        std::vector<std::int64_t> onsets;
        std::int64_t quietSince = -kRate;  // the recording starts in silence
        for (std::int64_t f = 0; f < static_cast<std::int64_t>(clickTake.size() / 2); ++f) {
            const float level = std::abs(clickTake[static_cast<std::size_t>(2 * f)]);
            if (level > 0.05f) {
                if (f - quietSince >= kRate / 100) {
                    onsets.push_back(f);
                }
                quietSince = f;
            }
        }
        const std::int64_t stepFrames = std::int64_t{interval} * kRate / 1000;
        int sounding = 0;
        for (const auto& s : bells.steps) {
            sounding += s.strokes.empty() ? 0 : 1;
        }
        std::int64_t worst = 0;
        std::int64_t onGrid = 0;
        for (const std::int64_t onset : onsets) {
            const std::int64_t offset = onset - onsets.front();
            const std::int64_t n = (offset + stepFrames / 2) / stepFrames;
            const std::int64_t error = std::abs(offset - n * stepFrames);
            worst = std::max(worst, error);
            onGrid += error <= 1 ? 1 : 0;
        }
        std::fprintf(stderr, "disk_*: %d sounding steps at %d ms, %zu onsets found\n", sounding,
                     interval, onsets.size());
        bench::Print("disk_onset_error_max_frames_loaded", static_cast<double>(worst), "frames");
        bench::Print("disk_late_steps_loaded", static_cast<double>(sounding - onGrid), "steps");
    });

}  // namespace
