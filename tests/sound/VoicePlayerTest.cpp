#include "sound/core/VoicePlayer.h"

#include <gtest/gtest.h>
#include <QSet>
#include <deque>
#include <stdexcept>

using namespace orvane;

namespace {

// A device that remembers every command. A voice plays from its play command until the test
// ends it or it is closed. rejectCode != 0 rejects every command.
struct FakeMci : MciInterface {
    QStringList commands;
    QSet<QString> playing;
    int rejectCode = 0;
    int rejectFirst = 0;  // reject this many commands, then accept
    bool throwing = false;
    QString forcedAnswer;  // when set, every status query answers this

    int SendString(const QString& command, QString* answer) override {
        commands.append(command);
        if (throwing) {
            throw std::runtime_error("device fault");
        }
        if (rejectFirst > 0) {
            --rejectFirst;
            return 263;
        }
        if (rejectCode != 0) {
            return rejectCode;
        }
        const QString alias = command.section(u' ', -1);
        if (command.startsWith(u"play ")) {
            playing.insert(alias);
        } else if (command.startsWith(u"close ")) {
            playing.remove(alias);
        } else if (command.startsWith(u"status ")) {
            const QString name = command.section(u' ', 1, 1);
            *answer = !forcedAnswer.isNull()   ? forcedAnswer
                      : playing.contains(name) ? QStringLiteral("playing")
                                               : QStringLiteral("stopped");
        }
        return 0;
    }

    int Count(const QString& command) const { return int(commands.count(command)); }
};

// Returns the queued numbers, then keeps returning the last one.
RandomFunction Sequence(std::deque<int> numbers) {
    return [numbers, last = 0](int) mutable {
        if (!numbers.empty()) {
            last = numbers.front();
            numbers.pop_front();
        }
        return last;
    };
}

QString Open(const QString& path, const QString& alias) {
    return "open waveaudio!" + path + " alias " + alias;
}

}  // namespace

TEST(VoicePlayer, TwoStrikesOpenAndPlayTwoVoices) {
    FakeMci mci;
    VoicePlayer player(mci, Sequence({5, 5, 9}));
    EXPECT_EQ(player.StrikeFile("/tmp/Mono/b1.wav"), "5");
    EXPECT_EQ(player.StrikeFile("/tmp/Mono/b1.wav"), "9");
    EXPECT_EQ(player.Voices(), QStringList({"5", "9"}));
    EXPECT_EQ(mci.commands, QStringList({Open("/tmp/Mono/b1.wav", "5"), "play 5", "status 5 mode",
                                         Open("/tmp/Mono/b1.wav", "9"), "play 9"}));
}

TEST(VoicePlayer, DrawThatHitsAFinishedVoiceClosesItAndDrawsAgain) {
    FakeMci mci;
    VoicePlayer player(mci, Sequence({5, 20, 5, 5}));
    player.StrikeFile("a.wav");
    player.StrikeFile("b.wav");
    mci.playing.remove("5");  // its sound has ended; it stays listed
    mci.commands.clear();
    EXPECT_EQ(player.StrikeFile("c.wav"), "5");
    EXPECT_EQ(mci.commands,
              QStringList({"status 5 mode", "close 5", Open("c.wav", "5"), "play 5"}));
    EXPECT_EQ(player.Voices(), QStringList({"20", "5"}));
}

TEST(VoicePlayer, StrikeAndPlaybackVoicesShareTheList) {
    FakeMci mci;
    VoicePlayer player(mci, Sequence({12, 12, 13, 70}));
    EXPECT_EQ(player.StartPlaybackVoice("p.wav"), "12");
    EXPECT_EQ(player.StrikeFile("s.wav"), "13");
    // A generator answer outside the range is brought into it: 70 is 6 among 64.
    EXPECT_EQ(player.ChooseStrikeAlias(), "6");
}

TEST(VoicePlayer, SweepClosesFinishedVoicesAndKeepsPlayingOnes) {
    FakeMci mci;
    VoicePlayer player(mci, Sequence({1, 2, 3}));
    player.StrikeFile("a.wav");
    player.StrikeFile("a.wav");
    player.StrikeFile("a.wav");
    mci.playing.remove("2");
    mci.commands.clear();
    player.ReleaseVoices();
    EXPECT_EQ(player.Voices(), QStringList({"1", "3"}));
    EXPECT_EQ(mci.commands,
              QStringList({"status 1 mode", "status 2 mode", "close 2", "status 3 mode"}));

    mci.playing.clear();
    player.FinalSweep();
    EXPECT_TRUE(player.Voices().isEmpty());
    mci.commands.clear();
    player.ReleaseVoices();  // an empty list sends nothing
    EXPECT_TRUE(mci.commands.isEmpty());
}

TEST(VoicePlayer, OnlyTheExactAnswerPlayingCountsAsPlaying) {
    FakeMci mci;
    VoicePlayer player(mci);
    mci.forcedAnswer = QStringLiteral("playing");
    EXPECT_TRUE(player.IsVoicePlaying("3"));
    mci.forcedAnswer = QString("playing") + QChar(u'\0') + "junk";
    EXPECT_TRUE(player.IsVoicePlaying("3"));
    for (const QString& answer : {QString("Playing"), QString("playing "), QString(""),
                                  QString("paused"), QString("stopped")}) {
        mci.forcedAnswer = answer;
        EXPECT_FALSE(player.IsVoicePlaying("3")) << answer.toStdString();
    }
    mci.forcedAnswer = QStringLiteral("playing");
    mci.rejectCode = 263;
    EXPECT_FALSE(player.IsVoicePlaying("3"));
    mci.throwing = true;
    EXPECT_FALSE(player.IsVoicePlaying("3"));
    EXPECT_EQ(mci.Count("status 3 mode"), 9);  // sent once each, never retried
}

TEST(VoicePlayer, RejectedCommandIsRetriedABoundedNumberOfTimes) {
    FakeMci mci;
    VoicePlayer player(mci);
    mci.rejectFirst = 1;
    EXPECT_EQ(player.SendCommand("play 4"), 263);  // the first attempt's code
    EXPECT_EQ(mci.Count("play 4"), 2);             // the retry succeeded

    mci.commands.clear();
    mci.throwing = true;  // a fault while sending yields 0 and is not retried
    EXPECT_EQ(player.SendCommand("play 4"), 0);
    EXPECT_EQ(mci.Count("play 4"), 1);
}

TEST(VoicePlayer, WithoutADeviceStrikesGoOnAndTheSweepRemovesTheVoices) {
    FakeMci mci;
    mci.rejectCode = 263;
    VoicePlayer player(mci, Sequence({8}));
    EXPECT_EQ(player.StrikeFile("a.wav"), "8");
    EXPECT_EQ(mci.Count(Open("a.wav", "8")), 1 + VoicePlayer::kCommandRetries);
    EXPECT_EQ(mci.Count("play 8"), 1 + VoicePlayer::kCommandRetries);
    // The failed mode query counts as finished: the draw closes 8 and may take it again.
    EXPECT_EQ(player.StrikeFile("a.wav"), "8");
    EXPECT_EQ(player.Voices(), QStringList({"8"}));

    player.ReleaseVoices();
    EXPECT_TRUE(player.Voices().isEmpty());
    EXPECT_EQ(mci.Count("close 8"), 2 * (1 + VoicePlayer::kCommandRetries));
}

TEST(VoicePlayer, AllStrikeAliasesPlayingReusesTheOldestWithoutWaiting) {
    FakeMci mci;
    int next = 0;
    VoicePlayer player(mci, [&next](int n) { return (next++ * 37 + 11) % n; });
    QStringList opened;
    for (int i = 0; i < VoicePlayer::kStrikeAliasCount; ++i) {
        opened.append(player.StrikeFile("a.wav"));
    }
    ASSERT_EQ(player.Voices().size(), 64);
    ASSERT_EQ(mci.playing.size(), 64);

    // Every voice still plays: the one opened first is closed and its number reused, however
    // unhelpful the generator.
    player.SetRandom([](int) { return 7; });
    EXPECT_EQ(player.StrikeFile("b.wav"), opened[0]);
    EXPECT_EQ(mci.Count("close " + opened[0]), 1);
    EXPECT_EQ(player.Voices().size(), 64);
    EXPECT_EQ(player.Voices().last(), opened[0]);
    EXPECT_EQ(player.Voices().first(), opened[1]);

    // A finished voice anywhere in the list is preferred to closing a ringing one.
    mci.playing.remove(opened[40]);
    EXPECT_EQ(player.StrikeFile("c.wav"), opened[40]);
    EXPECT_EQ(mci.Count("close " + opened[1]), 0);
    EXPECT_EQ(player.Voices().size(), 64);
}

TEST(VoicePlayer, PlaybackDrawEndsWhenTheGeneratorKeepsHittingARingingVoice) {
    FakeMci mci;
    VoicePlayer player(mci, [](int) { return 3; });
    EXPECT_EQ(player.StartPlaybackVoice("a.wav"), "3");
    EXPECT_EQ(player.StartPlaybackVoice("a.wav"), "0");  // the lowest free number
    EXPECT_EQ(player.StartPlaybackVoice("a.wav"), "1");
    // A ringing voice is asked once per choice, not once per draw.
    EXPECT_EQ(mci.Count("status 3 mode"), 2);
}
