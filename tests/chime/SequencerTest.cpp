// The audio-side sequencer on an offline output: every stroke at its exact frame while nothing
// runs on the window's side between the commands (a stalled user-interface thread), across
// pause, tempo change, winding, group switches, repeat and the next chime; volume marks at
// their frames. And the plan that the chime side hands over.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "chime/core/SequencePlanner.h"
#include "sound/EngineTestSupport.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/OfflineOutput.h"
#include "sound/core/VolumeControl.h"

namespace orvane {
namespace {

constexpr int kRate = 48000;

class Sequencer : public ::testing::Test {
protected:
    Sequencer() {
        auto output = std::make_unique<OfflineOutput>();
        output_ = output.get();
        engine_ = std::make_unique<AudioEngine>(std::move(output));
        engine_->SetStartLog(true);
        for (int i = 0; i < 4; ++i) {
            sounds_ << dir_.filePath(QString("s%1.wav").arg(i));
            EXPECT_TRUE(test::WriteSound(sounds_.back(), kRate, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                                         test::Constant(2000, {0.01f * (i + 1)})));
        }
    }

    // count steps; step i strikes sound i % 4 in group i % 3.
    SequencePlan Plan(int count) const {
        SequencePlan plan;
        plan.soundPaths = sounds_;
        plan.steps.resize(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            plan.steps[static_cast<std::size_t>(i)].strokes.push_back({i % 4, i % 3});
        }
        return plan;
    }

    // Renders frames in buffers of 128 with nothing else happening; the starts in order.
    std::vector<VoiceStart> Render(std::int64_t frames) {
        output_->Render(frames);
        return engine_->TakeVoiceStarts();
    }

    static std::vector<std::int64_t> Frames(const std::vector<VoiceStart>& starts) {
        std::vector<std::int64_t> frames;
        for (const VoiceStart& s : starts) {
            frames.push_back(s.frame);
        }
        return frames;
    }

    QTemporaryDir dir_;
    QStringList sounds_;
    OfflineOutput* output_ = nullptr;
    std::unique_ptr<AudioEngine> engine_;
};

TEST_F(Sequencer, StepsLandOnTheirFramesThroughPauseTempoAndWinding) {
    StepSequencer& seq = engine_->Sequencer();
    ASSERT_TRUE(engine_->LoadSequence(Plan(40)));
    seq.SetInterval(100);  // 4800 frames
    output_->Render(1000);
    const std::int64_t f0 = output_->FramesRendered();
    seq.Play();
    // One long stall of the window: 5 steps sound on their own.
    auto starts = Render(4 * 4800 + 1);
    EXPECT_EQ(Frames(starts),
              (std::vector<std::int64_t>{f0, f0 + 4800, f0 + 9600, f0 + 14400, f0 + 19200}));
    EXPECT_EQ(starts[1].path, sounds_[1]);
    EXPECT_EQ(seq.Position(), 4);
    EXPECT_TRUE(seq.Playing());

    // Pause keeps the position; Play goes on with the next step one interval later.
    seq.Pause();
    EXPECT_TRUE(Render(30000).empty());
    EXPECT_EQ(seq.Position(), 4);
    const std::int64_t resumed = output_->FramesRendered();
    seq.Play();
    starts = Render(4800 + 1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].frame, resumed + 4800);
    EXPECT_EQ(starts[0].path, sounds_[5 % 4]);

    // A tempo change goes on from the last step at the new interval.
    seq.SetInterval(50);  // 2400 frames
    starts = Render(3 * 2400);
    EXPECT_EQ(Frames(starts),
              (std::vector<std::int64_t>{resumed + 4800 + 2400, resumed + 4800 + 4800,
                                         resumed + 4800 + 7200}));
    // Winding: the next tick plays the step after the new position.
    seq.SetPosition(20);
    starts = Render(2400);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, sounds_[21 % 4]);
    EXPECT_EQ(starts[0].frame, resumed + 4800 + 9600);
    EXPECT_EQ(seq.LateSteps(), 0u);
}

TEST_F(Sequencer, GroupSwitchesVolumeMarksAndTheEndOfTheChime) {
    StepSequencer& seq = engine_->Sequencer();
    SequencePlan plan = Plan(6);
    plan.steps[2].marks.push_back({'-', 2.0});  // at level 255: 127.5 rounds to the even 128
    ASSERT_TRUE(engine_->LoadSequence(plan));
    seq.SetInterval(20);               // 960 frames
    seq.SetGroups(true, false, true);  // medium-size bells off: steps 1 and 4 are silent
    output_->SetKeepAll(true);
    const std::int64_t f0 = output_->FramesRendered();
    seq.Play();
    auto starts = Render(6 * 960 + 10);
    EXPECT_EQ(Frames(starts), (std::vector<std::int64_t>{f0, f0 + 1920, f0 + 2880, f0 + 5 * 960}));
    quint32 word = 0;
    ASSERT_TRUE(engine_->ReadVolumeWord(word));
    EXPECT_EQ(VolumeControl::LevelOfWord(word), 128);
    // The output level changes at the mark's frame, not before (gain 32768 / 65535 after).
    const std::vector<float>& all = output_->AllSamples();
    const auto at = [&](std::int64_t frame) { return all[static_cast<std::size_t>(2 * frame)]; };
    EXPECT_NEAR(at(f0 + 1919), 0.01f, 1e-4f) << "step 0 alone, full level";
    EXPECT_NEAR(at(f0 + 1920 + 600), 0.03f * 0.5f, 1e-4f) << "step 2 alone, level 128";
    EXPECT_NEAR(at(f0 + 2880 + 100), 0.07f * 0.5f, 1e-4f) << "steps 2 and 3 at level 128";
    // The step after the last one stops the player (ChimeEnd::kStop is the default).
    EXPECT_FALSE(seq.Playing());
    EXPECT_EQ(seq.Position(), 0);
    EXPECT_TRUE(Render(5000).empty());
}

TEST_F(Sequencer, RepeatAndNextChimeStartOnTimeWithoutAPause) {
    StepSequencer& seq = engine_->Sequencer();
    ASSERT_TRUE(engine_->LoadSequence(Plan(3)));
    seq.SetInterval(10);  // 480 frames
    seq.SetEnd(ChimeEnd::kRepeat);
    const std::int64_t f0 = output_->FramesRendered();
    seq.Play();
    auto starts = Render(7 * 480 + 1);
    ASSERT_EQ(starts.size(), 8u);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        EXPECT_EQ(starts[i].frame, f0 + static_cast<std::int64_t>(i) * 480) << i;
        EXPECT_EQ(starts[i].path, sounds_[static_cast<int>(i % 3)]) << i;
    }
    EXPECT_EQ(seq.Passes(), 2u);

    // The next chime is prepared during the pass and follows its last step on the grid.
    SequencePlan next;
    next.soundPaths = {sounds_[3]};
    next.steps.resize(2);
    next.steps[0].strokes.push_back({0, -1});
    next.steps[1].strokes.push_back({0, -1});
    ASSERT_TRUE(engine_->QueueNextSequence(next));
    seq.SetEnd(ChimeEnd::kNextPlan);
    const std::int64_t last = starts.back().frame;  // step 1 of the third pass
    starts = Render(4 * 480);
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[0].path, sounds_[2]);
    EXPECT_EQ(starts[0].frame, last + 480);
    EXPECT_EQ(starts[1].path, sounds_[3]) << "the next chime's step 0";
    EXPECT_EQ(starts[1].frame, last + 2 * 480);
    EXPECT_EQ(starts[2].frame, last + 3 * 480) << "its step 1";
    // Without a further chime queued, its end stops the player.
    EXPECT_FALSE(seq.Playing());
    EXPECT_EQ(seq.Passes(), 3u);
    // The first plan is let go of once its voices have rung out.
    Render(5000);
    engine_->Collect();
    EXPECT_GE(seq.PlanInUse(), seq.CurrentPlan());
}

TEST(SequencePlanner, ReadsStrokesGroupsAndVolumeMarksAsAStepIsPlayed) {
    StepContext context;
    for (int bell = 0; bell < 15; ++bell) {
        context.bellSet.inSet[bell] = true;
        context.bellSet.group[bell] = bell < 5    ? kGreatGroup
                                      : bell < 12 ? kMiddleGroup
                                                  : kSmallGroup;
        context.soundColumn.append(QString("bell%1.wav").arg(bell));
    }
    context.soundFolder = "/snd/";
    context.groupChecked = {false, false, false};  // switches are the sequencer's business
    const SequencePlan plan =
        PlanSequence({"s1,m1", "#", "v-2,b1,s1", "x1,s1", "v*2", "b9"}, context);
    ASSERT_EQ(plan.steps.size(), 6u);
    ASSERT_EQ(plan.steps[0].strokes.size(), 2u);
    EXPECT_EQ(plan.soundPaths.at(plan.steps[0].strokes[0].sound), "/snd/bell14.wav");
    EXPECT_EQ(plan.steps[0].strokes[0].group, 0);
    EXPECT_EQ(plan.steps[0].strokes[1].group, 1);
    EXPECT_TRUE(plan.steps[1].strokes.empty());
    ASSERT_EQ(plan.steps[2].marks.size(), 1u);
    EXPECT_EQ(plan.steps[2].marks[0].op, '-');
    EXPECT_EQ(plan.steps[2].marks[0].factor, 2.0);
    EXPECT_EQ(plan.steps[2].strokes[1].sound, plan.steps[0].strokes[0].sound)
        << "one sound per file";
    EXPECT_EQ(plan.steps[3].strokes.size(), 1u) << "x1 is not a bell";
    ASSERT_EQ(plan.steps[4].marks.size(), 1u);
    EXPECT_NE(plan.steps[4].marks[0].op, '+');
    EXPECT_NE(plan.steps[4].marks[0].op, '-');
    EXPECT_EQ(plan.soundPaths.at(plan.steps[5].strokes[0].sound), "/snd/bell14.wav")
        << "more great bells than the set has: catalogue row 14";
}

TEST_F(Sequencer, AnchoredPlayAndTempoRestartAReplacedPlanKeepsTheGridAndEndsAreCounted) {
    StepSequencer& seq = engine_->Sequencer();
    ASSERT_TRUE(engine_->LoadSequence(Plan(6)));
    seq.SetInterval(100);
    output_->Render(1000);
    const std::int64_t f0 = output_->FramesRendered();
    // Play anchored 960 frames ahead; a frame already rendered counts as the next buffer.
    seq.PlayAt(f0 + 960);
    auto starts = Render(4800 + 961);
    EXPECT_EQ(Frames(starts), (std::vector<std::int64_t>{f0 + 960, f0 + 960 + 4800}));
    // A tempo change with a new grid: the next step one new interval after the given frame.
    const std::int64_t changed = output_->FramesRendered() + 100;
    seq.SetIntervalFrom(50, changed);
    starts = Render(2400 + 200);
    EXPECT_EQ(Frames(starts), (std::vector<std::int64_t>{changed + 2400}));
    // A replaced plan goes on at the same position and grid; its sounds are its own.
    SequencePlan other = Plan(3);
    for (auto& step : other.steps) {
        step.strokes = {{3, -1}};
    }
    ASSERT_TRUE(engine_->ReplaceSequence(std::move(other)));
    starts = Render(2400);
    ASSERT_EQ(starts.size(), 0u) << "position 2 is the last step of the new plan: the end";
    EXPECT_FALSE(seq.Playing());
    EXPECT_EQ(seq.Ends(), 1u);
    EXPECT_EQ(seq.Position(), 0);
    EXPECT_EQ(seq.CurrentPlan(), engine_->LastPlanSerial());
    // Anchored in the past: it starts at the next buffer.
    seq.PlayAt(0);
    const std::int64_t next = output_->FramesRendered();
    starts = Render(128);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].frame, next);
    EXPECT_EQ(starts[0].path, sounds_[3]);
    EXPECT_EQ(seq.LateSteps(), 0u);
}

// A plan queued to hold on plays again at its end while nothing is queued after it, on the grid;
// queuing one then goes on with it, and an empty queue (nothing follows) stops at the end.
TEST_F(Sequencer, AHeldPlanPlaysAgainUntilTheNextIsQueuedOrNothingFollows) {
    StepSequencer& seq = engine_->Sequencer();
    ASSERT_TRUE(engine_->LoadSequence(Plan(2)));
    seq.SetInterval(10);  // 480 frames
    seq.SetEnd(ChimeEnd::kNextPlan);
    SequencePlan held = Plan(2);
    for (auto& step : held.steps) {
        step.strokes = {{3, -1}};
    }
    ASSERT_TRUE(engine_->QueueNextSequence(std::move(held), true));
    const std::int64_t f0 = output_->FramesRendered();
    seq.Play();
    // The first plan, then the held one three times.
    auto starts = Render(8 * 480);
    ASSERT_EQ(starts.size(), 8u);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        EXPECT_EQ(starts[i].frame, f0 + static_cast<std::int64_t>(i) * 480) << i;
        EXPECT_EQ(starts[i].path, sounds_[i < 2 ? static_cast<int>(i) : 3]) << i;
    }
    EXPECT_TRUE(seq.Playing());
    EXPECT_EQ(seq.Passes(), 3u);
    EXPECT_EQ(seq.Ends(), 0u);

    ASSERT_TRUE(engine_->QueueNextSequence(Plan(1)));
    starts = Render(3 * 480);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].path, sounds_[0]) << "the next plan follows on the grid";
    EXPECT_EQ(starts[0].frame, f0 + 8 * 480);
    EXPECT_FALSE(seq.Playing()) << "queued without holding on: its end stops";
    EXPECT_EQ(seq.Ends(), 1u);

    // A held plan told that nothing follows stops at its end.
    SequencePlan again = Plan(2);
    ASSERT_TRUE(engine_->LoadSequence(Plan(1)));
    ASSERT_TRUE(engine_->QueueNextSequence(std::move(again), true));
    seq.Play();
    starts = Render(2 * 480);
    ASSERT_EQ(starts.size(), 2u);
    ASSERT_TRUE(seq.QueueNext(nullptr, 0));
    starts = Render(3 * 480);
    EXPECT_EQ(starts.size(), 1u);
    EXPECT_FALSE(seq.Playing());
    EXPECT_EQ(seq.Ends(), 2u);
    EXPECT_EQ(seq.LateSteps(), 0u);
}

}  // namespace
}  // namespace orvane
