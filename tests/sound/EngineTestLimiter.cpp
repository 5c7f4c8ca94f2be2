// The master bus limiter and sounds that are still being decoded while they play.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "sound/EngineTestSupport.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/core/PeakLimiter.h"
#include "sound/core/SampleBuffer.h"
#include "sound/core/SampleCache.h"

namespace orvane {
namespace {

struct Rendered {
    std::vector<float> samples;
    float peak = 0.0f;
};

// Renders `frames` frames of the given sounds, each started at its frame, limiter on or off.
Rendered RenderChord(const QStringList& paths, const std::vector<std::int64_t>& starts,
                     std::int64_t frames, bool limiter) {
    auto output = std::make_unique<OfflineOutput>();
    OfflineOutput* offline = output.get();
    AudioEngine engine(std::move(output));
    engine.SetLimiterEnabled(limiter);
    offline->SetKeepAll(true);
    for (int i = 0; i < paths.size(); ++i) {
        AudioEngine::VoiceId voice = -1;
        EXPECT_EQ(engine.OpenVoice(paths[i], voice), EngineError::kNone);
        engine.Cache().WaitIdle();
        engine.PlayVoiceAt(voice, starts[static_cast<std::size_t>(i)]);
    }
    offline->Render(frames);
    Rendered r;
    r.samples = offline->AllSamples();
    for (float s : r.samples) {
        r.peak = std::max(r.peak, std::abs(s));
    }
    return r;
}

TEST(Limiter, LoudChordStaysBelowFullScaleAndOneQuietBellPassesUnchanged) {
    QTemporaryDir dir;
    QStringList paths;
    std::vector<std::int64_t> starts;
    for (int i = 0; i < 8; ++i) {
        paths << dir.filePath(QString("bell%1.wav").arg(i));
        ASSERT_TRUE(
            test::WriteSound(paths.back(), 48000, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                             test::Sine(48000, 24000, {110.0 * (i + 1), 97.0 * (i + 1)}, 0.6)));
        starts.push_back(i * 37);
    }
    const Rendered chord = RenderChord(paths, starts, 30000, true);
    EXPECT_LE(chord.peak, PeakLimiter::kCeiling);
    EXPECT_LT(chord.peak, 1.0f);
    EXPECT_GT(chord.peak, 0.9f) << "limited, not silenced";
    // Without the limiter the same chord is pinned at full scale.
    EXPECT_EQ(RenderChord(paths, starts, 30000, false).peak, 1.0f);

    // The release brings the gain back to exactly one: a quiet tail after a loud hit is intact.
    const Rendered alone = RenderChord({paths[0]}, {0}, 30000, true);
    const Rendered plain = RenderChord({paths[0]}, {0}, 30000, false);
    EXPECT_EQ(alone.samples, plain.samples);
}

TEST(Limiter, GainFallsSmoothlyAheadOfAPeakAndRecovers) {
    PeakLimiter limiter(48000);
    const int ahead = limiter.LookAhead();
    EXPECT_EQ(ahead, 48);
    std::vector<float> left(512, 0.5f);
    std::vector<float> right(512, 0.5f);
    std::vector<float> aheadL(static_cast<std::size_t>(ahead), 0.5f);
    aheadL[40] = 2.0f;  // a peak 40 frames past this buffer
    std::vector<float> aheadR(static_cast<std::size_t>(ahead), 0.5f);
    limiter.Process(left.data(), right.data(), 512, aheadL.data(), aheadR.data());
    // Still unity well before the look-ahead reaches the peak, already falling at the end.
    EXPECT_EQ(left[400], 0.5f);
    EXPECT_LT(left[511], 0.5f);
    float biggestStep = 0.0f;
    for (int i = 1; i < 512; ++i) {
        biggestStep = std::max(biggestStep, std::abs(left[i] - left[i - 1]));
    }
    EXPECT_LT(biggestStep, 0.01f) << "no jump";

    // The peak itself arrives at the ceiling, then the gain recovers to exactly one.
    std::vector<float> next(512, 0.5f);
    next[40] = 2.0f;
    std::vector<float> nextR(512, 0.5f);
    const std::vector<float> silence(static_cast<std::size_t>(ahead), 0.0f);
    limiter.Process(next.data(), nextR.data(), 512, silence.data(), silence.data());
    EXPECT_LE(next[40], PeakLimiter::kCeiling);
    EXPECT_GT(next[40], 0.9f);
    for (int round = 0; round < 100; ++round) {
        std::vector<float> l(512, 0.5f), r(512, 0.5f);
        limiter.Process(l.data(), r.data(), 512, silence.data(), silence.data());
    }
    EXPECT_EQ(limiter.Gain(), 1.0f);
    EXPECT_FALSE(limiter.Reducing());
}

TEST(ProgressiveDecode, HeadIsReadyAtOnceAndTheRestMatchesAWholeDecode) {
    QTemporaryDir dir;
    // 16-bit at 48 kHz stays 16-bit; 16-bit at 44.1 kHz is resampled and stored as 16-bit.
    for (const int rate : {48000, 44100}) {
        const QString path = dir.filePath(QString("long%1.wav").arg(rate));
        ASSERT_TRUE(test::WriteSound(path, rate, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                     test::Sine(rate, rate * 3, {220.0, 330.0}, 0.5)));
        std::unique_ptr<SampleDecode> rest;
        const DecodeResult head = DecodeSampleHead(path, 48000, 0.25, &rest);
        ASSERT_EQ(head.error, DecodeError::kNone);
        ASSERT_TRUE(rest);
        EXPECT_TRUE(head.buffer->IsPcm16());
        EXPECT_EQ(head.buffer->Frames(), 3 * 48000);
        EXPECT_GE(head.buffer->ReadyFrames(), 12000);
        EXPECT_LT(head.buffer->ReadyFrames(), 48000);
        EXPECT_EQ(head.buffer->Peak(), 1.0f) << "unknown until complete";
        const std::vector<float> early = head.buffer->ToFloats();
        rest->Finish();
        EXPECT_TRUE(head.buffer->Complete());
        const DecodeResult whole = DecodeSampleFile(path, 48000);
        const std::vector<float> all = head.buffer->ToFloats();
        ASSERT_EQ(all, whole.buffer->ToFloats()) << rate;
        EXPECT_TRUE(std::equal(early.begin(), early.end(), all.begin())) << rate;
        EXPECT_NEAR(head.buffer->Peak(), 0.5f, 0.01f);
        EXPECT_EQ(head.buffer->Bytes(), 3 * 48000 * 2 * 2) << "two bytes a sample";
    }
}

TEST(ProgressiveDecode, AVoicePlaysIntoTheRestAndWaitsAtTheDecodedEnd) {
    // A sound whose decoder has published only its head: the voice starts at once, stops
    // advancing at the decoded end, and plays on when more is published.
    auto buffer = std::make_shared<SampleBuffer>(1, 48000, 1000, false);
    std::fill(buffer->WritableFloats(), buffer->WritableFloats() + 1000, 0.25f);
    buffer->Publish(300);
    auto mixer = std::make_unique<Mixer>();
    VoiceCommand play;
    play.voice = 0;
    play.serial = 1;
    play.buffer = buffer.get();
    play.startFrame = Mixer::kStartNow;
    ASSERT_TRUE(mixer->Commands().Push(play));
    std::vector<float> out(2 * 1024);
    mixer->Render(out.data(), 512);
    EXPECT_EQ(out[2 * 299], 0.25f);
    EXPECT_EQ(out[2 * 300], 0.0f) << "not decoded yet: silence, position kept";
    EXPECT_EQ(mixer->VoiceState(0) & 1u, 1u) << "still playing";
    buffer->SetPeak(0.25f);
    buffer->Publish(1000);
    mixer->Render(out.data(), 1024);
    EXPECT_EQ(out[0], 0.25f);
    EXPECT_EQ(out[2 * 699], 0.25f);
    EXPECT_EQ(out[2 * 700], 0.0f) << "the voice played the 700 frames it had left";
    EXPECT_EQ(mixer->VoiceState(0) & 1u, 0u);
}

TEST(ProgressiveDecode, CachePreloadsInTheBackgroundAndGetNeverWaitsForIt) {
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        paths << dir.filePath(QString("p%1.wav").arg(i));
        ASSERT_TRUE(test::WriteSound(paths.back(), 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                     test::Sine(48000, 96000, {440.0}, 0.3)));
    }
    SampleCache cache(48000);
    cache.Preload(paths);
    // Asked for while the background thread may be busy: a head at least, at once.
    const DecodeResult first = cache.Get(paths[3]);
    ASSERT_EQ(first.error, DecodeError::kNone);
    EXPECT_GE(first.buffer->ReadyFrames(), 12000);
    cache.WaitIdle();
    EXPECT_EQ(cache.EntryCount(), 4);
    for (const QString& path : paths) {
        const DecodeResult r = cache.Get(path);
        EXPECT_TRUE(r.buffer->Complete()) << path.toStdString();
    }
    EXPECT_EQ(cache.Get(paths[3]).buffer, first.buffer) << "one sound per version of a file";
    // Get never waits: when the background thread was decoding that head at the same moment,
    // the head was decoded twice (and the first one stored was kept).
    EXPECT_GE(cache.DecodeCount(), 4);
    EXPECT_LE(cache.DecodeCount(), 5);
}

TEST(TypedStart, AVoiceGainScalesThatVoiceOnly) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.wav");
    const QString b = dir.filePath("b.wav");
    ASSERT_TRUE(test::WriteSound(a, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                 test::Constant(1000, {0.25f})));
    ASSERT_TRUE(test::WriteFloatWav(b, 48000, 2, test::Constant(1000, {0.125f, -0.125f})));
    auto output = std::make_unique<OfflineOutput>();
    OfflineOutput* offline = output.get();
    AudioEngine engine(std::move(output));
    AudioEngine::VoiceId va = -1;
    AudioEngine::VoiceId vb = -1;
    ASSERT_EQ(engine.OpenVoice(a, va), EngineError::kNone);
    ASSERT_EQ(engine.OpenVoice(b, vb), EngineError::kNone);
    ASSERT_EQ(engine.PlayVoiceAt(va, std::nullopt, 0.5f), EngineError::kNone);
    ASSERT_EQ(engine.PlayVoiceAt(vb, 100, 2.0f), EngineError::kNone);
    const std::vector<float> out = offline->Render(512);
    EXPECT_FLOAT_EQ(out[2 * 50], 0.125f);
    EXPECT_FLOAT_EQ(out[2 * 50 + 1], 0.125f);
    EXPECT_FLOAT_EQ(out[2 * 200], 0.125f + 0.25f);
    EXPECT_FLOAT_EQ(out[2 * 200 + 1], 0.125f - 0.25f);
}

}  // namespace
}  // namespace orvane
