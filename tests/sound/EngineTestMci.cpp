#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "sound/EngineTestSupport.h"
#include "sound/core/Mci.h"
#include "sound/core/OfflineOutput.h"

namespace orvane {
namespace {

class MciCommands : public ::testing::Test {
  protected:
    MciCommands() {
        auto output = std::make_unique<OfflineOutput>();
        output_ = output.get();
        engine_ = std::make_unique<AudioEngine>(std::move(output));
        mci_ = std::make_unique<Mci>(*engine_);
        // A folder whose name holds the word " alias " and spaces, as a user's folder may.
        EXPECT_TRUE(QDir(dir_.path()).mkpath("my alias 2 sounds"));
        bell_ = dir_.filePath("my alias 2 sounds/big bell.wav");
        EXPECT_TRUE(test::WriteFloatWav(bell_, 48000, 1, test::Constant(1000, {0.5f})));
    }

    int Send(const QString& text) { return mci_->SendString(text, &answer_); }
    QString Mode(const QString& alias) {
        EXPECT_EQ(Send("status " + alias + " mode"), kMciOk);
        return answer_;
    }

    QTemporaryDir dir_;
    QString bell_;
    QString answer_;
    OfflineOutput* output_ = nullptr;
    std::unique_ptr<AudioEngine> engine_;
    std::unique_ptr<Mci> mci_;
};

TEST_F(MciCommands, VoiceLifeThroughTheFourCommands) {
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 17"), kMciOk);
    EXPECT_EQ(answer_, "");
    EXPECT_EQ(engine_->VoicePath(*mci_->VoiceOf("17")), bell_);
    EXPECT_EQ(Mode("17"), "stopped");  // open, not yet played
    ASSERT_EQ(Send("play 17"), kMciOk);
    EXPECT_EQ(Mode("17"), "playing");
    output_->Render(999);
    EXPECT_EQ(Mode("17"), "playing");
    output_->Render(1);
    EXPECT_EQ(Mode("17"), "stopped");
    // A null answer buffer is allowed.
    EXPECT_EQ(mci_->SendString("status 17 mode", nullptr), kMciOk);
    ASSERT_EQ(Send("close 17"), kMciOk);
    EXPECT_EQ(Send("status 17 mode"), kMciUnknownAlias);
    EXPECT_EQ(answer_, "");
    EXPECT_EQ(engine_->OpenVoiceCount(), 0);
    // The alias is free again.
    EXPECT_EQ(Send("open waveaudio!" + bell_ + " alias 17"), kMciOk);
}

TEST_F(MciCommands, TypedPlayStartsAtItsFrameAndPlainPlayAtOnce) {
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 3"), kMciOk);
    ASSERT_EQ(mci_->PlayAt("3", 700), kMciOk);
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 4"), kMciOk);
    ASSERT_EQ(Send("play 4"), kMciOk);
    output_->Render(1024);
    EXPECT_EQ(engine_->VoiceStartFrame(*mci_->VoiceOf("3")), 700);
    EXPECT_EQ(engine_->VoiceStartFrame(*mci_->VoiceOf("4")), 0);
    EXPECT_EQ(mci_->PlayAt("9", 0), kMciUnknownAlias);
}

TEST_F(MciCommands, ErrorCodes) {
    QFile text(dir_.filePath("notes.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a sound at all, just some text long enough to be a header\n");
    text.close();

    EXPECT_EQ(Send("open waveaudio!" + dir_.filePath("missing.wav") + " alias 1"),
              kMciFileNotFound);
    EXPECT_EQ(Send("open waveaudio!" + text.fileName() + " alias 1"), kMciCannotDecode);
    EXPECT_EQ(Send("play 1"), kMciUnknownAlias);
    EXPECT_EQ(Send("close 1"), kMciUnknownAlias);
    EXPECT_EQ(Send("status 1 mode"), kMciUnknownAlias);

    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 1"), kMciOk);
    EXPECT_EQ(Send("open waveaudio!" + bell_ + " alias 1"), kMciAliasInUse);
    EXPECT_EQ(mci_->OpenAliasCount(), 1);

    for (const char* bad :
         {"", "play", "play ", "play 1 2", "close", "status 1", "status  mode", "status 1 2 mode",
          "status mode", "stop 1", "PLAY 1", "open 1", "open waveaudio!", "open waveaudio!x.wav",
          "open waveaudio!x.wav alias ", "open waveaudio!x.wav alias 1 2", "open x.wav alias 9"}) {
        EXPECT_EQ(Send(bad), kMciBadCommand) << bad;
    }
    EXPECT_EQ(mci_->OpenAliasCount(), 1);
}

TEST_F(MciCommands, ClosingWhileRingingSilencesTheVoice) {
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 5"), kMciOk);
    ASSERT_EQ(Send("play 5"), kMciOk);
    output_->Render(128);
    ASSERT_EQ(Send("close 5"), kMciOk);
    const std::vector<float> out = output_->Render(128);
    EXPECT_EQ(out[0], 0.0f);
}

TEST_F(MciCommands, DestructionClosesItsVoices) {
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 1"), kMciOk);
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 2"), kMciOk);
    ASSERT_EQ(engine_->OpenVoiceCount(), 2);
    mci_.reset();
    EXPECT_EQ(engine_->OpenVoiceCount(), 0);
}

TEST(MciNoDevice, RejectsEveryCommand) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.wav");
    ASSERT_TRUE(test::WriteFloatWav(path, 48000, 1, test::Constant(10, {0.1f})));
    AudioEngine engine(std::make_unique<OfflineOutput>(OfflineOutput::Options{48000, 128, false}));
    Mci mci(engine);
    QString answer = "old";
    for (const QString& command :
         {"open waveaudio!" + path + " alias 1", QString("play 1"), QString("status 1 mode"),
          QString("close 1"), QString("nonsense")}) {
        EXPECT_EQ(mci.SendString(command, &answer), kMciNoDevice) << command.toStdString();
        EXPECT_EQ(answer, "");
    }
}

TEST_F(MciCommands, FinishedVoicesGiveTheirEngineVoiceBackWhenAllAreTaken) {
    // Finished voices stay listed until a sweep: a dense chime must still find a voice.
    for (int i = 0; i < AudioEngine::kVoiceCount; ++i) {
        ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias " + QString::number(i)), kMciOk);
        ASSERT_EQ(Send("play " + QString::number(i)), kMciOk);
    }
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 9000"), kMciNoFreeVoice);  // all ring
    output_->Render(1000);  // every voice has ended, none is closed
    ASSERT_EQ(Send("open waveaudio!" + bell_ + " alias 9000"), kMciOk);
    ASSERT_EQ(Send("play 9000"), kMciOk);
    EXPECT_EQ(Mode("9000"), "playing");
    EXPECT_EQ(Mode("0"), "stopped");  // the oldest gave its voice back and reads as finished
    EXPECT_FALSE(mci_->VoiceOf("0").has_value());
    EXPECT_EQ(Send("close 0"), kMciOk);
    EXPECT_EQ(Send("close 1"), kMciOk);
    EXPECT_EQ(mci_->OpenAliasCount(), AudioEngine::kVoiceCount - 1);
}

}  // namespace
}  // namespace orvane
