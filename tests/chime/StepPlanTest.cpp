#include "chime/core/StepPlan.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

using Kind = StepAction::Kind;

// Small bells in rows 14 and 13, medium-size in 10 and 9, great in 0 and 1.
StepContext MakeContext() {
    StepContext context;
    for (auto [row, group] : {std::pair{14, kSmallGroup},
                              {13, kSmallGroup},
                              {10, kMiddleGroup},
                              {9, kMiddleGroup},
                              {0, kGreatGroup},
                              {1, kGreatGroup}}) {
        context.bellSet.inSet[row] = true;
        context.bellSet.group[row] = group;
    }
    context.soundFolder = QStringLiteral("/snd/");
    for (int row = 0; row < BellSet::kBellCount; ++row) {
        context.soundColumn << QStringLiteral("bell%1.wav").arg(row);
    }
    context.volumeLevel = 100;
    return context;
}

std::optional<int> Volume(const char* mark, int level) {
    return ApplyVolumeMark(QString::fromLatin1(mark), level);
}

}  // namespace

TEST(StepPlan, BellMarksSoundThroughTheBellSetAndTheGroupBoxes) {
    StepContext context = MakeContext();
    context.groupChecked = {true, false, true};
    const StepPlan plan = PlanStep(QStringLiteral("s1,m1,b2,x1,s12,sa,s,,#"), context);
    EXPECT_EQ(plan.soundFiles,
              QStringList({"/snd/bell14.wav", "/snd/bell1.wav", "/snd/bell14.wav"}));
    EXPECT_EQ(plan.actions, (std::vector<StepAction>{{Kind::OpenSound, 14, "/snd/bell14.wav"},
                                                     {Kind::OpenSound, 1, "/snd/bell1.wav"},
                                                     {Kind::OpenSound, 14, "/snd/bell14.wav"}}));
    EXPECT_EQ(plan.volumeLevel, 100);

    EXPECT_TRUE(PlanStep(QStringLiteral("#"), context).actions.empty());
    EXPECT_TRUE(PlanStep(QStringLiteral("x1"), context).actions.empty());
    EXPECT_EQ(PlanStep(QStringLiteral("x1,s1"), context).soundFiles,
              QStringList({"/snd/bell14.wav"}));
    // A rank beyond the group sounds row 14; a row missing from the catalogue is skipped.
    EXPECT_EQ(PlanStep(QStringLiteral("b9"), context).soundFiles, QStringList({"/snd/bell14.wav"}));
    context.soundColumn = context.soundColumn.mid(0, 5);
    EXPECT_EQ(PlanStep(QStringLiteral("s1,b2"), context).soundFiles,
              QStringList({"/snd/bell1.wav"}));
    EXPECT_TRUE(PlanStep(QStringList{"b1"}, 1, context).actions.empty());
}

TEST(StepPlan, AnimationFollowsTheCheckBoxAndTheGroupFlags) {
    StepContext context = MakeContext();
    context.animation = true;
    context.groupAnimation = {true, true, false};
    const StepPlan plan = PlanStep(QStringLiteral("s2,v+2,b1,m1"), context);
    EXPECT_EQ(plan.actions, (std::vector<StepAction>{{Kind::AnimateBell, 13, {}},
                                                     {Kind::SetVolume, 200, {}},
                                                     {Kind::AnimateBell, 10, {}},
                                                     {Kind::OpenSound, 13, "/snd/bell13.wav"},
                                                     {Kind::OpenSound, 0, "/snd/bell0.wav"},
                                                     {Kind::OpenSound, 10, "/snd/bell10.wav"},
                                                     {Kind::StartResetTimer, 0, {}}}));
    // Only a volume change: nothing sounds, the reset timer stays off.
    EXPECT_EQ(PlanStep(QStringLiteral("v+2"), context).actions,
              (std::vector<StepAction>{{Kind::SetVolume, 200, {}}}));
}

TEST(StepPlan, VolumeMarks) {
    EXPECT_EQ(Volume("v+2", 200), 255);
    EXPECT_EQ(Volume("v-2", 99), 50);   // 49.5 to the even 50
    EXPECT_EQ(Volume("v-2", 101), 50);  // 50.5 to the even 50
    EXPECT_EQ(Volume("v*2", 99), 99);
    EXPECT_EQ(Volume("v+1.5", 3), 4);
    EXPECT_EQ(Volume("v-0.5", 100), 200);
    EXPECT_EQ(Volume("v+-2", 100), 0);
    EXPECT_EQ(Volume("v+1e308", 200), 255);
    EXPECT_EQ(Volume("v-1e-308", 200), 255);
    for (const char* faulty :
         {"v-0", "v+abc", "v+nan", "v-inf", "v+", "v", "v+1,5", "v+2x"}) {
        EXPECT_EQ(Volume(faulty, 100), std::nullopt) << faulty;
    }

    // Marks of one step chain their levels; a faulty mark leaves the others working.
    const StepPlan plan = PlanStep(QStringLiteral("v+2,v-0,v-4,v+nan,s1"), MakeContext());
    EXPECT_EQ(plan.actions, (std::vector<StepAction>{{Kind::SetVolume, 200, {}},
                                                     {Kind::SetVolume, 50, {}},
                                                     {Kind::OpenSound, 14, "/snd/bell14.wav"}}));
    EXPECT_EQ(plan.volumeLevel, 50);
}

// A factor of zero is a valid factor except as a divisor; an unknown operator keeps the level,
// whatever its factor, and still sets it (slider and caption follow).
TEST(StepPlan, ZeroFactorsAndUnknownOperators) {
    EXPECT_EQ(Volume("v+0", 100), 0);
    EXPECT_EQ(Volume("v+0.0", 255), 0);
    EXPECT_EQ(Volume("v-0.0", 100), std::nullopt);
    EXPECT_EQ(Volume("v-0e5", 100), std::nullopt);
    EXPECT_EQ(Volume("v*0", 100), 100);
    EXPECT_EQ(Volume("v/0", 77), 77);
    EXPECT_EQ(Volume("vx-3", 77), 77);
    EXPECT_EQ(Volume("v*inf", 77), std::nullopt);

    const StepPlan plan = PlanStep(QStringLiteral("v+0,v*0,v-0,s1"), MakeContext());
    EXPECT_EQ(plan.actions, (std::vector<StepAction>{{Kind::SetVolume, 0, {}},
                                                     {Kind::SetVolume, 0, {}},
                                                     {Kind::OpenSound, 14, "/snd/bell14.wav"}}));
    EXPECT_EQ(plan.volumeLevel, 0);
}
