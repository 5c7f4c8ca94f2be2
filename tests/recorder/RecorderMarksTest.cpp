#include "chime/core/ChimeScore.h"
#include "recorder/core/RecorderMarks.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

BellSet SetOf(std::initializer_list<std::pair<int, int>> rowsAndGroups) {
    BellSet bells;
    for (auto [row, group] : rowsAndGroups) {
        bells.inSet[static_cast<std::size_t>(row)] = true;
        bells.group[static_cast<std::size_t>(row)] = group;
    }
    return bells;
}

}  // namespace

TEST(RecorderMark, GreatBellsCountFromRowZeroUpwards) {
    const BellSet bells = SetOf({{2, kGreatGroup}, {8, kGreatGroup}});
    EXPECT_EQ(RecorderMark(8, bells), "b2");
    EXPECT_EQ(RecorderMark(2, bells), "b1");
}

TEST(RecorderMark, SmallAndMiddleBellsCountFromRowFourteenDownwards) {
    const BellSet small = SetOf({{2, kSmallGroup}, {8, kSmallGroup}});
    EXPECT_EQ(RecorderMark(2, small), "s2");
    EXPECT_EQ(RecorderMark(8, small), "s1");
    const BellSet middle =
        SetOf({{5, kMiddleGroup}, {6, kMiddleGroup}, {7, kSmallGroup}, {9, kMiddleGroup}});
    EXPECT_EQ(RecorderMark(5, middle), "m3");
    EXPECT_EQ(RecorderMark(9, middle), "m1");
}

TEST(RecorderMark, IgnoresBellsOutOfTheSetAndOfOtherGroups) {
    BellSet bells = SetOf({{1, kGreatGroup}, {3, kMiddleGroup}, {4, kGreatGroup}});
    bells.group[2] = kGreatGroup;  // grouped, but not in the set
    EXPECT_EQ(RecorderMark(4, bells), "b2");
}

TEST(RecorderMark, BellWithoutGroupGivesTheRankAlone) {
    const BellSet bells = SetOf({{3, kNoGroup}, {10, kNoGroup}});
    EXPECT_EQ(RecorderMark(3, bells), "2");
    EXPECT_EQ(RecorderMark(15, bells), "");
    EXPECT_EQ(RecorderMark(-1, bells), "");
}

// A recorded mark sounds the bell that was struck, on every set.
TEST(RecorderMark, RoundTripsThroughFindGroupBell) {
    const BellSet bells = SetOf({{0, kGreatGroup},
                                 {2, kGreatGroup},
                                 {4, kMiddleGroup},
                                 {6, kMiddleGroup},
                                 {7, kMiddleGroup},
                                 {9, kSmallGroup},
                                 {12, kSmallGroup},
                                 {14, kSmallGroup}});
    for (int row = 0; row < BellSet::kBellCount; ++row) {
        if (!bells.inSet[static_cast<std::size_t>(row)]) {
            continue;
        }
        const QString mark = RecorderMark(row, bells);
        EXPECT_EQ(FindGroupBell(mark[0], mark.mid(1).toInt(), bells), row) << mark.toStdString();
    }
}

TEST(RecorderText, StrokesJoinWithCommasAndCaptionsAreExact) {
    QString text;
    AppendStroke(text, "s1");
    AppendStroke(text, "s1");
    AppendStroke(text, "b2");
    EXPECT_EQ(text, "s1,s1,b2");
    EXPECT_EQ(RecordDurationText(1008), QString::fromUtf8("Продолжительность: 1 секунд"));
    EXPECT_EQ(RecordDurationText(999), QString::fromUtf8("Продолжительность: 0 секунд"));
    EXPECT_EQ(RecordLineText(12), QString::fromUtf8("Строка: 12"));
    EXPECT_EQ(RecordStoppedText(), QString::fromUtf8("Состояние: Остановлено"));
    EXPECT_EQ(RecordRunningText(), QString::fromUtf8("Состояние: Запись"));
}
