#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "sound/core/AudioEngine.h"
#include "sound/core/CommandQueue.h"
#include "sound/EngineTestSupport.h"
#include "sound/core/OfflineOutput.h"

namespace orvane {
namespace {

struct Item {
    std::uint64_t sequence;
    std::uint64_t check;
};

// One thread pushes a counted sequence through a small ring while another pops it: every item
// arrives once, in order, intact, and full/empty are reported rather than overrun.
TEST(CommandQueue, CarriesEveryItemInOrderBetweenThreads) {
    constexpr std::uint64_t kItems = 2'000'000;
    CommandQueue<Item, 64> queue;
    std::atomic<bool> failed{false};
    std::thread consumer([&] {
        std::uint64_t expected = 0;
        Item item{};
        while (expected < kItems) {
            if (!queue.Pop(item)) {
                continue;
            }
            if (item.sequence != expected || item.check != ~expected * 2654435761u) {
                failed = true;
                return;
            }
            ++expected;
        }
    });
    for (std::uint64_t i = 0; i < kItems; ++i) {
        while (!queue.Push({i, ~i * 2654435761u})) {
        }
    }
    consumer.join();
    EXPECT_FALSE(failed);
    Item item{};
    EXPECT_FALSE(queue.Pop(item));
    EXPECT_EQ(queue.FreeSpace(), 64u);
}

TEST(CommandQueue, ReportsFullAndEmpty) {
    CommandQueue<int, 4> queue;
    int out = 0;
    EXPECT_FALSE(queue.Pop(out));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(queue.Push(i));
    }
    EXPECT_FALSE(queue.Push(9));
    EXPECT_EQ(queue.FreeSpace(), 0u);
    EXPECT_TRUE(queue.Pop(out));
    EXPECT_EQ(out, 0);
    EXPECT_TRUE(queue.Push(4));
    for (int i = 1; i <= 4; ++i) {
        EXPECT_TRUE(queue.Pop(out));
        EXPECT_EQ(out, i);
    }
}

// The UI thread opens, plays and closes voices as fast as it can while another thread renders:
// every voice ends, nothing is lost, and every closed sound is released.
TEST(EngineThreads, VoicesComeAndGoWhileTheAudioThreadRenders) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.wav");
    const QString b = dir.filePath("b.wav");
    ASSERT_TRUE(test::WriteFloatWav(a, 48000, 1, test::Constant(300, {0.01f})));
    ASSERT_TRUE(test::WriteFloatWav(b, 48000, 2, test::Constant(2000, {0.01f, 0.02f})));
    auto output = std::make_unique<OfflineOutput>();
    OfflineOutput* offline = output.get();
    AudioEngine engine(std::move(output));
    const std::weak_ptr<const SampleBuffer> soundA = engine.Cache().Get(a).buffer;
    const std::weak_ptr<const SampleBuffer> soundB = engine.Cache().Get(b).buffer;

    std::atomic<bool> stop{false};
    std::thread audio([&] {
        while (!stop.load()) {
            offline->Render(128);
        }
    });
    std::vector<AudioEngine::VoiceId> open;
    int played = 0;
    for (int round = 0; round < 20000; ++round) {
        AudioEngine::VoiceId v = -1;
        if (engine.OpenVoice(round % 3 ? a : b, v) == EngineError::kNone) {
            if (round % 5 == 0) {
                engine.PlayVoiceAt(v, engine.FramesRendered() + 64);
            } else {
                engine.PlayVoice(v);
            }
            ++played;
            open.push_back(v);
        }
        // Close the finished ones, and now and then one that still rings.
        std::erase_if(open, [&](AudioEngine::VoiceId voice) {
            if (!engine.IsVoicePlaying(voice) || voice % 7 == round % 7) {
                EXPECT_EQ(engine.CloseVoice(voice), EngineError::kNone);
                return true;
            }
            return false;
        });
    }
    // Wait for the rest to end.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!open.empty() && std::chrono::steady_clock::now() < deadline) {
        std::erase_if(open, [&](AudioEngine::VoiceId voice) {
            if (!engine.IsVoicePlaying(voice)) {
                engine.CloseVoice(voice);
                return true;
            }
            return false;
        });
    }
    stop = true;
    audio.join();
    EXPECT_TRUE(open.empty());
    EXPECT_GT(played, 1000);
    EXPECT_EQ(engine.OpenVoiceCount(), 0);
    offline->Render(128);  // takes the last closes
    EXPECT_EQ(engine.AudioMixer().ActiveVoiceCount(), 0);
    engine.Cache().Clear();
    engine.Collect();
    EXPECT_TRUE(soundA.expired());
    EXPECT_TRUE(soundB.expired());
}

}  // namespace
}  // namespace orvane
