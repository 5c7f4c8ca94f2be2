// Instrument strokes started straight from an input thread: the command ring that takes them
// beside the UI thread's commands, the bank of voices they sound on, and the published state
// they are decided from.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "sound/EngineTestSupport.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/InstrumentSnapshot.h"
#include "sound/core/MidiNoteMap.h"
#include "sound/core/MultiProducerQueue.h"
#include "sound/core/OfflineOutput.h"

namespace orvane {
namespace {

struct Tagged {
    std::uint32_t producer;
    std::uint32_t sequence;
    std::uint64_t position;
};

// Two threads push counted sequences at once while a third pops: every item arrives once and
// intact, each producer's items in their order, and the positions handed to the fills come out
// in the order the consumer sees them (0, 1, 2, ...), which is what makes serials increase.
TEST(MultiProducerQueue, TwoProducersOneConsumerLoseNothingAndKeepPositionOrder) {
    constexpr std::uint32_t kItems = 400'000;
    MultiProducerQueue<Tagged, 64> queue;
    std::atomic<bool> failed{false};
    std::atomic<bool> produced{false};
    std::atomic<bool> consumed{false};
    std::uint32_t next[2] = {0, 0};
    std::thread consumer([&] {
        struct Done {
            std::atomic<bool>& flag;
            ~Done() { flag = true; }
        } done{consumed};
        std::uint64_t position = 0;
        Tagged item{};
        while (next[0] < kItems || next[1] < kItems) {
            if (!queue.Pop(item)) {
                if (!produced.load()) {
                    continue;
                }
                if (!queue.Pop(item)) {
                    return;  // everything pushed has been taken: some items are missing
                }
            }
            if (item.producer > 1 || item.sequence != next[item.producer] ||
                item.position != position) {
                failed = true;
                return;
            }
            ++next[item.producer];
            ++position;
        }
    });
    auto produce = [&](std::uint32_t producer) {
        for (std::uint32_t i = 0; i < kItems; ++i) {
            while (!queue.PushWith(0, [&](Tagged& slot, std::uint64_t position) {
                slot = {producer, i, position};
            })) {
                if (consumed.load()) {
                    return;  // the consumer gave up: nothing will make room
                }
            }
        }
    };
    std::thread first(produce, 0u);
    std::thread second(produce, 1u);
    first.join();
    second.join();
    produced = true;
    consumer.join();
    EXPECT_FALSE(failed);
    EXPECT_EQ(next[0], kItems);
    EXPECT_EQ(next[1], kItems);
    Tagged item{};
    EXPECT_FALSE(queue.Pop(item));
    EXPECT_EQ(queue.FreeSpace(), 64u);
}

TEST(MultiProducerQueue, AReserveKeepsPlacesFreeForOtherCommands) {
    MultiProducerQueue<int, 8> queue;
    int calls = 0;
    auto fill = [&](int& slot, std::uint64_t position) {
        slot = static_cast<int>(position);
        ++calls;
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(queue.PushWith(3, fill));  // leaves more than 3 free
    }
    EXPECT_FALSE(queue.PushWith(3, fill)) << "only 3 places are left";
    EXPECT_EQ(calls, 5) << "a refused push never calls its fill";
    EXPECT_TRUE(queue.Push(5));
    EXPECT_TRUE(queue.Push(6));
    EXPECT_TRUE(queue.Push(7));
    EXPECT_FALSE(queue.Push(8));
    EXPECT_FALSE(queue.PushWith(8, fill));
    int out = -1;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(queue.Pop(out));
        EXPECT_EQ(out, i);
    }
    EXPECT_FALSE(queue.Pop(out));
}

// Holds the first push made after `hold` is set between its reading of the producers' position
// and of the consumer's, until `release`: a producer thread that the scheduler stops there.
struct HeldProducer {
    static inline std::atomic<bool> hold{false};
    static inline std::atomic<bool> held{false};
    static inline std::atomic<bool> release{false};
    static void AfterTailRead() {
        if (hold.exchange(false)) {
            held = true;
            while (!release.load()) {
                std::this_thread::yield();
            }
        }
    }
};

TEST(MultiProducerQueue, AProducerStoppedWhileOthersPushAndTheConsumerTakesStillFindsRoom) {
    MultiProducerQueue<int, 8, HeldProducer> queue;
    HeldProducer::hold = true;
    std::atomic<bool> pushed{false};
    std::thread late([&] { pushed = queue.Push(100); });
    while (!HeldProducer::held.load()) {
        std::this_thread::yield();
    }
    // While it is stopped, other pushes come and the consumer takes them all: the ring is empty.
    int out = -1;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(queue.Push(i));
        ASSERT_TRUE(queue.Pop(out));
        EXPECT_EQ(out, i);
    }
    HeldProducer::release = true;
    late.join();
    EXPECT_TRUE(pushed) << "an empty ring refused the push";
    ASSERT_TRUE(queue.Pop(out));
    EXPECT_EQ(out, 100);
    EXPECT_EQ(queue.FreeSpace(), 8u);
}

class InstrumentEngine : public ::testing::Test {
protected:
    void SetUp() override {
        auto output = std::make_unique<OfflineOutput>();
        offline = output.get();
        engine = std::make_unique<AudioEngine>(std::move(output));
    }
    QString Sound(const char* name, std::int64_t frames, float level) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(test::WriteFloatWav(path, 48000, 1, test::Constant(frames, {level})));
        return path;
    }
    QTemporaryDir dir;
    OfflineOutput* offline = nullptr;
    std::unique_ptr<AudioEngine> engine;
};

// A stroke starts at the next buffer's first frame at its gain, on a voice the engine's own
// calls never use, and is logged with the path of its sound.
TEST_F(InstrumentEngine, AStrokeSoundsAtTheNextBufferAtItsGain) {
    const QString path = Sound("bell.wav", 4800, 0.5f);
    const int sound = engine->KeepInstrumentSound(path);
    ASSERT_GE(sound, 0);
    EXPECT_EQ(engine->KeepInstrumentSound(path), sound) << "the same sound keeps its number";
    EXPECT_EQ(engine->KeepInstrumentSound(dir.filePath("missing.wav")), -1);
    EXPECT_FALSE(engine->InstrumentStrike(sound + 1, 1.0f)) << "not a kept sound";
    engine->SetStartLog(true);
    offline->Render(1000);

    ASSERT_TRUE(engine->InstrumentStrike(sound, 1.0f));
    const std::vector<float> full = offline->Render(256);
    ASSERT_TRUE(engine->InstrumentStrike(sound, 0.25f));
    const std::vector<float> quiet = offline->Render(256);
    const std::vector<VoiceStart> starts = engine->TakeVoiceStarts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].path, path);
    EXPECT_EQ(starts[0].frame, 1000) << "at the next buffer, with no look-ahead";
    EXPECT_GE(starts[0].voice, AudioEngine::kVoiceCount);
    EXPECT_NE(starts[1].voice, starts[0].voice) << "the first voice still sounds";
    EXPECT_GT(full[0], 0.1f);
    // The second buffer holds both: the first stroke at 1, the second at 0.25.
    EXPECT_NEAR(quiet[0] / full[0], 1.25f, 0.01f);
}

// With every voice of the bank sounding, a stroke takes the voice struck longest ago; once
// voices fall silent, strokes take those and cut nothing.
TEST_F(InstrumentEngine, AFullBankGivesUpTheOldestVoiceAndPrefersSilentOnes) {
    const int ringing = engine->KeepInstrumentSound(Sound("long.wav", 48000 * 10, 0.001f));
    const int tick = engine->KeepInstrumentSound(Sound("tick.wav", 64, 0.001f));
    ASSERT_GE(ringing, 0);
    ASSERT_GE(tick, 0);
    engine->SetStartLog(true);
    std::vector<int> voices;
    for (int i = 0; i < InstrumentVoices::kVoiceCount; ++i) {
        ASSERT_TRUE(engine->InstrumentStrike(ringing, 1.0f));
        offline->Render(128);
        for (const VoiceStart& start : engine->TakeVoiceStarts()) {
            voices.push_back(start.voice);
        }
    }
    ASSERT_EQ(voices.size(), std::size_t(InstrumentVoices::kVoiceCount));
    EXPECT_EQ(std::set<int>(voices.begin(), voices.end()).size(), voices.size());
    ASSERT_TRUE(engine->InstrumentStrike(tick, 1.0f));
    offline->Render(128);
    std::vector<VoiceStart> starts = engine->TakeVoiceStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].voice, voices.front()) << "the oldest stroke gives way";
    // That voice's tick has ended; the next strokes find it silent rather than cut another.
    offline->Render(1024);
    ASSERT_TRUE(engine->InstrumentStrike(tick, 1.0f));
    offline->Render(128);
    starts = engine->TakeVoiceStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].voice, voices.front());
    EXPECT_EQ(engine->AudioMixer().ActiveVoiceCount(), InstrumentVoices::kVoiceCount - 1)
        << "the long strokes but the first still sound; the tick has ended";
}

// The input thread strikes while the UI thread opens, plays and closes voices and the audio
// thread renders: no command is lost, doubled or reordered across the two producers (the
// mixer applies exactly as many as were sent), every voice ends and every closed sound goes.
TEST_F(InstrumentEngine, StrokesFromAnInputThreadMixWithTheUiThreadsCommands) {
    const QString a = Sound("a.wav", 300, 0.01f);
    const int stroke = engine->KeepInstrumentSound(Sound("s.wav", 200, 0.01f));
    ASSERT_GE(stroke, 0);
    const std::weak_ptr<const SampleBuffer> soundA = engine->Cache().Get(a).buffer;
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        while (!stop.load()) {
            offline->Render(128);
        }
    });
    std::atomic<std::uint64_t> struck{0};
    std::thread input([&] {
        // A full ring refuses a stroke; the input retries it, as a player strikes again.
        for (int i = 0; i < 5000; ++i) {
            while (!engine->InstrumentStrike(stroke, 0.5f)) {
                std::this_thread::yield();
            }
            ++struck;
        }
    });
    std::uint64_t sent = 0;
    std::vector<std::pair<AudioEngine::VoiceId, bool>> open;  // voice, played
    auto close = [&](const std::pair<AudioEngine::VoiceId, bool>& voice) {
        EXPECT_EQ(engine->CloseVoice(voice.first), EngineError::kNone);
        sent += voice.second ? 1 : 0;  // a played voice's close sends a stop
    };
    for (int round = 0; round < 20000; ++round) {
        AudioEngine::VoiceId v = -1;
        if (engine->OpenVoice(a, v) == EngineError::kNone) {
            const bool played = engine->PlayVoice(v) == EngineError::kNone;
            sent += played ? 1 : 0;
            open.emplace_back(v, played);
        }
        std::erase_if(open, [&](const auto& voice) {
            if (!engine->IsVoicePlaying(voice.first) || voice.first % 7 == round % 7) {
                close(voice);
                return true;
            }
            return false;
        });
    }
    input.join();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!open.empty() && std::chrono::steady_clock::now() < deadline) {
        std::erase_if(open, [&](const auto& voice) {
            if (!engine->IsVoicePlaying(voice.first)) {
                close(voice);
                return true;
            }
            return false;
        });
    }
    stop = true;
    audio.join();
    offline->Render(1024);  // takes the last commands and lets the last strokes end
    EXPECT_TRUE(open.empty());
    EXPECT_EQ(struck.load(), 5000u);
    EXPECT_EQ(engine->Instrument().StrokeCount(), struck.load());
    EXPECT_EQ(engine->AudioMixer().ProcessedSerial(), sent + struck.load())
        << "the mixer applied every command of both threads once";
    EXPECT_EQ(engine->AudioMixer().ActiveVoiceCount(), 0);
    EXPECT_EQ(engine->OpenVoiceCount(), 0);
    engine->Cache().Clear();
    engine->Collect();
    EXPECT_TRUE(soundA.expired());
}

TEST(InstrumentSnapshot, DecidesFromWhatTheWindowPublished) {
    InstrumentSnapshot snapshot;
    MidiNoteMap notes;
    snapshot.SetNotes(notes);
    snapshot.SetSound(13, 4);
    // Nothing rings until the window enables strokes.
    InstrumentSnapshot::Stroke stroke = snapshot.Decide(64, 127);
    EXPECT_EQ(stroke.bell, 13);
    EXPECT_EQ(stroke.sound, -1);
    snapshot.SetEnabled(true);
    stroke = snapshot.Decide(64, 64);
    EXPECT_EQ(stroke.bell, 13);
    EXPECT_EQ(stroke.sound, 4);
    EXPECT_FLOAT_EQ(stroke.gain, MidiNoteMap::VelocityGain(64));
    EXPECT_EQ(snapshot.Decide(64, 0).sound, -1) << "a note-off";
    EXPECT_EQ(snapshot.Decide(65, 127).sound, -1) << "bell 14 has no sound: not in the set";
    EXPECT_EQ(snapshot.Decide(65, 127).bell, 14);
    EXPECT_EQ(snapshot.Decide(61, 127).bell, -1) << "no bell on the note";
    EXPECT_EQ(snapshot.Decide(200, 127).bell, -1);
    // The user's map moves bell 13 to note 70.
    ASSERT_TRUE(notes.SetNote(13, 70));
    snapshot.SetNotes(notes);
    EXPECT_EQ(snapshot.Decide(70, 127).sound, 4);
    EXPECT_EQ(snapshot.Decide(64, 127).bell, -1);
    snapshot.ClearSounds();
    EXPECT_EQ(snapshot.Decide(70, 127).sound, -1);
    snapshot.SetSound(13, 4);
    snapshot.SetEnabled(false);
    EXPECT_EQ(snapshot.Decide(70, 127).sound, -1);
}

}  // namespace
}  // namespace orvane
