#include "help/core/LessonProgress.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(LessonProgress, PercentOfTheMaximumRoundedHalvesToEven) {
    EXPECT_EQ(LessonProgressText(45, 100), QString::fromUtf8("45% Выполнено"));
    EXPECT_EQ(LessonProgressText(1, 8), QString::fromUtf8("12% Выполнено"));  // 12.5
    EXPECT_EQ(LessonProgressText(3, 8), QString::fromUtf8("38% Выполнено"));  // 37.5
    EXPECT_EQ(LessonProgressText(2, 3), QString::fromUtf8("67% Выполнено"));
    EXPECT_EQ(LessonProgressText(0, 5), QString::fromUtf8("0% Выполнено"));
    EXPECT_EQ(LessonProgressText(5, 5), QString::fromUtf8("100% Выполнено"));
}

TEST(LessonProgress, NoMaximumLeavesTheText) {
    EXPECT_FALSE(LessonProgressText(10, 0).has_value());
    EXPECT_FALSE(LessonProgressText(10, -1).has_value());
}
