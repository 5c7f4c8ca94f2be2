#include "chime/core/ChimeExporter.h"
#include "chime/core/StepClock.h"
#include "sound/EngineTestSupport.h"
#include "sound/core/OfflineOutput.h"
#include "sound/core/VolumeControl.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <map>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr int kRate = 48000;

// Decaying tones of distinct pitch and length, one per bell of a small set: great bell row 0,
// medium-size rows 9 and 10, small row 14.
class Exporting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.filePath("snd"));
        const std::pair<int, double> bells[] = {{0, 110.0}, {9, 330.0}, {10, 440.0}, {14, 880.0}};
        for (auto [row, hz] : bells) {
            const std::int64_t frames = kRate / 4 + row * 2000;
            std::vector<float> samples = Sine(kRate, frames, {hz, hz * 1.01}, 0.4);
            for (std::int64_t i = 0; i < frames; ++i) {
                const float decay = static_cast<float>(std::exp(-3.0 * i / frames));
                samples[2 * i] *= decay;
                samples[2 * i + 1] *= decay;
            }
            ASSERT_TRUE(WriteFloatWav(dir.filePath(QStringLiteral("snd/bell%1.wav").arg(row)), kRate,
                                      2, samples));
            lengths[row] = frames;
        }
        settings.context.soundFolder = dir.filePath("snd") + u'/';
        for (int row = 0; row < BellSet::kBellCount; ++row) {
            settings.context.soundColumn << QStringLiteral("bell%1.wav").arg(row);
        }
        for (auto [row, group] : {std::pair{14, kSmallGroup}, {10, kMiddleGroup},
                                  {9, kMiddleGroup}, {0, kGreatGroup}}) {
            settings.context.bellSet.inSet[row] = true;
            settings.context.bellSet.group[row] = group;
        }
        settings.context.volumeLevel = 255;
        settings.intervalMs = 70;
        settings.sampleRate = kRate;
        settings.keepStartLog = true;
        settings.steps = {"s1,b1", "", "m1", "#", "s1,m2", "", "", "", "b1", "s1"};
    }

    // Reads a written file: its samples, and its format in `info`.
    std::vector<float> ReadBack(const QString& path, SF_INFO& info) {
        info = {};
        SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
        if (!file) {
            return {};
        }
        std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
        sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
        return samples;
    }

    QTemporaryDir dir;
    ExportSettings settings;
    std::map<int, std::int64_t> lengths;
};

// What playback does with the same chime on an output of 128-frame buffers: the timer ticks
// at its ideal times, each tick plans its step then, and the step's voices start a look-ahead
// later on the frame grid of StepClock.
struct LiveRender {
    std::vector<float> samples;
    std::vector<VoiceStart> starts;
};

LiveRender RenderLikePlayback(const ExportSettings& settings, std::int64_t frames) {
    AudioEngine engine(std::make_unique<OfflineOutput>());
    auto& output = static_cast<OfflineOutput&>(engine.Output());
    output.SetKeepAll(true);
    engine.SetStartLog(true);
    engine.WriteVolumeWord(VolumeControl::VolumeWord(settings.context.volumeLevel));
    StepClock clock;
    const auto t0 = output.OpenTime();
    clock.Anchor(t0, settings.intervalMs);
    StepContext context = settings.context;
    for (qsizetype step = 0; step < settings.steps.size(); ++step) {
        if (step > 0) {
            clock.Advance(clock.Ideal() + std::chrono::milliseconds(settings.intervalMs));
        }
        const std::int64_t due = ChimeExporter::StepFrame(step, settings.intervalMs, kRate);
        while (output.FramesRendered() < due) {
            output.Render(output.BufferFrames());
        }
        const std::int64_t start = clock.StartFrame(engine.FrameAt(clock.Ideal()), kRate);
        const StepPlan plan = PlanStep(settings.steps, step, context);
        for (const StepAction& action : plan.actions) {
            if (action.kind == StepAction::Kind::OpenSound) {
                AudioEngine::VoiceId voice = -1;
                if (engine.OpenVoice(action.file, voice) == EngineError::kNone) {
                    // In real time the background decode stays ahead of a voice; rendered
                    // faster, the sound must be whole first.
                    engine.Cache().WaitIdle();
                    engine.PlayVoiceAt(voice, start);
                }
            }
        }
    }
    while (output.FramesRendered() < frames) {
        output.Render(output.BufferFrames());
    }
    return {output.AllSamples(), engine.TakeVoiceStarts()};
}

}  // namespace

TEST_F(Exporting, VoicesStartWhereTheyWouldInPlaybackAndRingOut) {
    settings.format = ExportFormat::kWav24;
    const QString path = dir.filePath("chime.wav");
    ChimeExporter exporter(settings);
    ASSERT_EQ(exporter.Export(path), ChimeExporter::Result::kDone) << exporter.ErrorText().toStdString();

    // Ten steps of 70 ms; the last voice (small bell at step 9) rings past them to its end.
    const std::int64_t step9 = ChimeExporter::StepFrame(9, 70, kRate);
    EXPECT_EQ(step9, 30240);
    const std::int64_t expectedEnd = step9 + lengths[14];
    SF_INFO info;
    const std::vector<float> written = ReadBack(path, info);
    EXPECT_EQ(info.frames, expectedEnd);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, kRate);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_EQ(exporter.FramesWritten(), expectedEnd);

    const LiveRender live = RenderLikePlayback(settings, expectedEnd + kRate);
    const std::vector<VoiceStart>& exported = exporter.StartLog();
    ASSERT_EQ(exported.size(), 7u);
    ASSERT_EQ(live.starts.size(), exported.size());
    const std::int64_t lead = live.starts[0].frame;
    EXPECT_EQ(lead, StepClock::LookAheadFrames(kRate));
    for (std::size_t i = 0; i < exported.size(); ++i) {
        EXPECT_EQ(exported[i].path, live.starts[i].path) << i;
        EXPECT_EQ(exported[i].frame + lead, live.starts[i].frame) << i;
    }
    EXPECT_EQ(exported[0].frame, 0);
    EXPECT_EQ(exported[6].frame, step9);

    // Sample for sample the same sound, within the 24-bit steps; silence in front of the
    // live render's look-ahead.
    double worst = 0;
    for (std::int64_t i = 0; i < 2 * expectedEnd; ++i) {
        worst = std::max(worst, std::abs(double(written[i]) - live.samples[i + 2 * lead]));
    }
    EXPECT_LT(worst, 2.0 / (1 << 23));
    double peak = 0;
    for (float v : written) {
        peak = std::max(peak, double(std::abs(v)));
    }
    EXPECT_GT(peak, 0.3);
}

TEST_F(Exporting, GroupsSwitchedOffAndVolumeMarksAreHeard) {
    // The medium-size bells are off; a volume mark halves the level from step 4 on.
    settings.context.groupChecked = {true, false, true};
    settings.format = ExportFormat::kFlac16;
    settings.steps = {"s1", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                      "v-2,s1", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                      "m1,m2"};
    ChimeExporter exporter(settings);
    ASSERT_EQ(exporter.Export(dir.filePath("marks.flac")), ChimeExporter::Result::kDone);
    for (const VoiceStart& start : exporter.StartLog()) {
        EXPECT_TRUE(start.path.endsWith("bell14.wav")) << start.path.toStdString();
    }
    EXPECT_EQ(exporter.StartLog().size(), 2u);
    SF_INFO info;
    const std::vector<float> written = ReadBack(dir.filePath("marks.flac"), info);
    EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    auto peakOf = [&](std::int64_t from, std::int64_t to) {
        double peak = 0;
        for (std::int64_t i = 2 * from; i < 2 * to && i < std::int64_t(written.size()); ++i) {
            peak = std::max(peak, double(std::abs(written[i])));
        }
        return peak;
    };
    const std::int64_t second = ChimeExporter::StepFrame(16, 70, kRate);
    // The first voice is over before the second starts (16 steps = 53760 frames).
    // Over the first cycles of each voice (880 Hz: 55 frames a cycle).
    const double loud = peakOf(0, 110);
    const double soft = peakOf(second, second + 110);
    // The new level is reached before the voice starts.
    EXPECT_NEAR(soft / loud, 128.0 / 255.0, 0.001);
}

TEST_F(Exporting, CancellingOrFailingLeavesNoFile) {
    settings.format = ExportFormat::kFlac24;
    const QString path = dir.filePath("cancelled.flac");
    ChimeExporter exporter(settings);
    int calls = 0;
    EXPECT_EQ(exporter.Export(path,
                              [&](double fraction) {
                                  EXPECT_GE(fraction, 0.0);
                                  return ++calls < 2;
                              }),
              ChimeExporter::Result::kCancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(QFileInfo::exists(path));
    // A file already there under the name stays as it was.
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep");
    old.close();
    EXPECT_EQ(exporter.Export(path, [](double) { return false; }),
              ChimeExporter::Result::kCancelled);
    EXPECT_EQ(QFileInfo(path).size(), 4);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";

    // Into a folder that does not exist: a failure with a reason, and nothing written.
    EXPECT_EQ(exporter.Export(dir.filePath("missing/x.wav")), ChimeExporter::Result::kFailed);
    EXPECT_FALSE(exporter.ErrorText().isEmpty());

    // Progress runs up to the end of a finished export.
    double last = -1;
    EXPECT_EQ(exporter.Export(dir.filePath("done.flac"), [&](double f) {
        EXPECT_GE(f, last);
        last = f;
        return true;
    }), ChimeExporter::Result::kDone);
    EXPECT_EQ(last, 1.0);
}

TEST(ExportTarget, TypedSuffixChoosesTheFormatAtTheChosenSize) {
    using F = ExportFormat;
    EXPECT_EQ(ChimeExporter::Target("/m/a.flac", F::kWav16), std::make_pair(QString("/m/a.flac"), F::kFlac16));
    EXPECT_EQ(ChimeExporter::Target("/m/a.FLAC", F::kWav24), std::make_pair(QString("/m/a.FLAC"), F::kFlac24));
    EXPECT_EQ(ChimeExporter::Target("/m/a.wav", F::kFlac24), std::make_pair(QString("/m/a.wav"), F::kWav24));
    EXPECT_EQ(ChimeExporter::Target("/m/a", F::kFlac16), std::make_pair(QString("/m/a.flac"), F::kFlac16));
    EXPECT_EQ(ChimeExporter::Target("/m/a.mp3", F::kWav16), std::make_pair(QString("/m/a.mp3.wav"), F::kWav16));
}
