#include "catalogue/core/ListFile.h"

#include <gtest/gtest.h>

using orvane::SplitString;

TEST(SplitString, FieldsFollowTheSeparators) {
    QStringList out{"stale"};
    SplitString("a;;b;", ";", &out);
    EXPECT_EQ(out, (QStringList{"a", "", "b"}));
    SplitString(";a", ";", &out);
    EXPECT_EQ(out, (QStringList{"", "a"}));
    SplitString("", ";", &out);
    EXPECT_TRUE(out.isEmpty());
    SplitString("x--y--", "--", &out);
    EXPECT_EQ(out, (QStringList{"x", "y"}));
    SplitString("s1,m2", ",", nullptr);  // no target: nothing happens
}
