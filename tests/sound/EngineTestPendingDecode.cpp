// Voices opened on sounds that were never prepared: nothing is decoded on the opening thread, and
// the voice sounds from the sound's first frame once its head is there.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>

#include "sound/EngineTestSupport.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/Mixer.h"
#include "sound/core/OfflineOutput.h"

namespace orvane {
namespace {

// Moves the file's modification time on, as an edit of the file would.
void Touch(const QString& path) {
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    std::filesystem::last_write_time(
        native, std::filesystem::last_write_time(native) + std::chrono::seconds(5));
}

// What an engine renders after opening `path` and striking it at once: the head's length
// (0.25 s), then, once the background decode is done, `more` frames; `prepare` decodes the head
// before the strike. Also the engine's decodes on this thread.
struct Strike {
    std::vector<float> out;
    int callerDecodes = 0;
    std::int64_t startFrame = -1;
};

Strike StrikeAndRender(const QString& path, bool prepare, std::int64_t more) {
    auto output = std::make_unique<OfflineOutput>();
    OfflineOutput* offline = output.get();
    AudioEngine engine(std::move(output));
    offline->Render(1000);  // the strike falls inside a buffer, not at frame 0
    if (prepare) {
        engine.PrepareSounds({path});
    }
    const int before = engine.Cache().CallerDecodeCount();
    AudioEngine::VoiceId voice = -1;
    EXPECT_EQ(engine.OpenVoice(path, voice), EngineError::kNone);
    EXPECT_EQ(engine.PlayVoice(voice), EngineError::kNone);
    Strike strike;
    strike.callerDecodes = engine.Cache().CallerDecodeCount() - before;
    strike.out = offline->Render(12000);
    strike.startFrame = engine.VoiceStartFrame(voice).value_or(-1);
    // Rendering runs far faster than the background decode of the rest.
    engine.Cache().WaitIdle();
    const std::vector<float>& rest = offline->Render(more);
    strike.out.insert(strike.out.end(), rest.begin(), rest.end());
    return strike;
}

TEST(PendingDecode, AStrikeOfAChangedFileDecodesNothingHereAndSoundsAsAPreparedOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bell.wav");
    // 44.1 kHz: the head and the rest go through the resampler as well.
    ASSERT_TRUE(test::WriteSound(path, 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                 test::Sine(44100, 44100, {440.0, 660.0}, 0.3)));

    auto output = std::make_unique<OfflineOutput>();
    OfflineOutput* offline = output.get();
    AudioEngine engine(std::move(output));
    engine.SetStartLog(true);
    engine.Preload({path});
    engine.Cache().WaitIdle();
    offline->Render(1000);

    // The file changes after its sound was decoded: the strike finds no sound for it.
    ASSERT_TRUE(test::WriteSound(path, 44100, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                 test::Sine(44100, 44100, {523.0}, 0.4)));
    Touch(path);
    const int decodes = engine.Cache().CallerDecodeCount();
    AudioEngine::VoiceId voice = -1;
    ASSERT_EQ(engine.OpenVoice(path, voice), EngineError::kNone);
    ASSERT_EQ(engine.PlayVoice(voice), EngineError::kNone);
    EXPECT_EQ(engine.Cache().CallerDecodeCount(), decodes) << "the strike decoded its sound";
    const std::vector<float> out = offline->Render(2048);
    EXPECT_EQ(engine.Cache().CallerDecodeCount(), decodes);
    EXPECT_EQ(engine.VoiceStartFrame(voice), 1000) << "the first buffer after the strike";

    // Rendered offline, the new sound sounds from its first frame, sample for sample as the
    // sound decoded whole (unity gain, far below the limiter's threshold).
    const DecodeResult whole = DecodeSampleFile(path, 48000);
    ASSERT_EQ(whole.error, DecodeError::kNone);
    for (std::int64_t frame = 0; frame < 2048; ++frame) {
        ASSERT_EQ(out[static_cast<std::size_t>(2 * frame)], whole.buffer->At(frame, 0)) << frame;
        ASSERT_EQ(out[static_cast<std::size_t>(2 * frame + 1)], whole.buffer->At(frame, 1))
            << frame;
    }
    const std::vector<VoiceStart> starts = engine.TakeVoiceStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].frame, 1000);
    engine.Cache().WaitIdle();
}

TEST(PendingDecode, OfflineOutputIsTheSameWhetherTheSoundWasPreparedOrNot) {
    QTemporaryDir dir;
    const QString path = dir.filePath("long.wav");
    // Longer than the head: the voice plays on into the rest decoded in the background.
    ASSERT_TRUE(test::WriteSound(path, 48000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                 test::Sine(48000, 96000, {330.0}, 0.5)));
    const Strike prepared = StrikeAndRender(path, true, 8000);
    const Strike unprepared = StrikeAndRender(path, false, 8000);
    ASSERT_EQ(prepared.out.size(), std::size_t{2 * 20000});
    EXPECT_EQ(unprepared.callerDecodes, 0);
    EXPECT_EQ(prepared.startFrame, unprepared.startFrame);
    EXPECT_EQ(prepared.out, unprepared.out);
}

TEST(PendingDecode, MissingAndNonSoundFilesAreReportedAtOnce) {
    QTemporaryDir dir;
    QFile text(dir.filePath("notes.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a sound at all, just some text long enough to be a header\n");
    text.close();
    SampleCache cache(48000);
    EXPECT_EQ(cache.Request(dir.filePath("missing.wav")).error, DecodeError::kNotFound);
    EXPECT_EQ(cache.Request(text.fileName()).error, DecodeError::kCannotDecode);
    EXPECT_EQ(cache.EntryCount(), 0);
    EXPECT_EQ(cache.CallerDecodeCount(), 0);
}

// A FLAC file whose header reads but whose audio frames are garbage: that it cannot be decoded
// is known only when its head is decoded.
TEST(PendingDecode, AFileWhoseSamplesCannotBeReadStaysSilentAndIsTriedAgain) {
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.flac");
    if (!test::WriteSound(path, 48000, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16,
                          test::Sine(48000, 48000, {440.0}, 0.5))) {
        GTEST_SKIP() << "this sound file library cannot write FLAC";
    }
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        // The first audio frame starts with the sync code 0xFFF8; everything from there on is
        // overwritten.
        const qsizetype sync = bytes.indexOf(QByteArray("\xFF\xF8", 2), 4);
        ASSERT_GT(sync, 0);
        for (qsizetype i = sync; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>(0x55);
        }
        file.seek(0);
        file.write(bytes);
    }

    auto output = std::make_unique<OfflineOutput>();
    OfflineOutput* offline = output.get();
    AudioEngine engine(std::move(output));
    AudioEngine::VoiceId voice = -1;
    ASSERT_EQ(engine.OpenVoice(path, voice), EngineError::kNone);
    ASSERT_EQ(engine.PlayVoice(voice), EngineError::kNone);
    const int decodes = engine.Cache().DecodeCount();
    const std::vector<float> out = offline->Render(1024);
    EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0.0f);
    EXPECT_EQ(*std::min_element(out.begin(), out.end()), 0.0f);
    EXPECT_FALSE(engine.IsVoicePlaying(voice)) << "the silent voice has ended";
    EXPECT_EQ(engine.Cache().EntryCount(), 0);

    // The next strike opens the file again.
    AudioEngine::VoiceId again = -1;
    ASSERT_EQ(engine.OpenVoice(path, again), EngineError::kNone);
    EXPECT_EQ(engine.Cache().DecodeCount(), decodes + 1);
    // Asked for with its head, the sound reports what its decode found.
    EXPECT_EQ(engine.Cache().Get(path).error, DecodeError::kCannotDecode);
    engine.Cache().WaitIdle();
}

// The mixer on a sound that has nothing decoded when its voice starts: silent until the first
// frames are published, then from the first frame on, none skipped; it ends at the sound's end.
TEST(PendingDecode, AVoiceWaitsForItsFirstFrameAndSkipsNone) {
    Mixer mixer;
    auto sound = std::make_shared<SampleBuffer>(1, 48000, 300, false);
    for (int i = 0; i < 300; ++i) {
        sound->WritableFloats()[i] = 0.001f * static_cast<float>(i + 1);
    }
    VoiceCommand play;
    play.voice = 3;
    play.serial = 1;
    play.buffer = sound.get();
    play.startFrame = Mixer::kStartNow;
    ASSERT_TRUE(mixer.Commands().Push(play));

    std::vector<float> out(2 * 128);
    mixer.Render(out.data(), 128);
    EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0.0f);
    EXPECT_EQ(mixer.VoiceStartedAt(3), -1);
    EXPECT_EQ(mixer.VoiceState(3), 3u) << "waiting counts as playing";
    VoiceStartEvent event;
    EXPECT_FALSE(mixer.Starts().Pop(event));

    sound->Publish(100);  // the head
    mixer.Render(out.data(), 128);
    EXPECT_EQ(mixer.VoiceStartedAt(3), 128);
    ASSERT_TRUE(mixer.Starts().Pop(event));
    EXPECT_EQ(event.frame, 128);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(out[static_cast<std::size_t>(2 * i)], i < 100 ? 0.001f * (i + 1) : 0.0f) << i;
    }
    sound->SetPeak(0.3f);
    sound->Publish(300);  // the rest: on from frame 100, where the voice waited
    mixer.Render(out.data(), 128);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(out[static_cast<std::size_t>(2 * i)], 0.001f * (i + 101)) << i;
    }
    mixer.Render(out.data(), 128);
    EXPECT_EQ(out[2 * 71], 0.3f);
    EXPECT_EQ(out[2 * 72], 0.0f);
    EXPECT_EQ(mixer.VoiceState(3), 2u) << "ended at the sound's end";
}

}  // namespace
}  // namespace orvane
