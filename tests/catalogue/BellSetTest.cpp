#include "catalogue/core/BellSet.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(BellSet, StoredFormsWriteNForBellsOutOfTheSetAndForBellsWithoutGroup) {
    BellSet set;
    set.inSet[0] = true;
    set.group[0] = kGreatGroup;
    set.inSet[13] = true;  // in the set, no group
    set.group[5] = kMiddleGroup;  // out of the set, group left over
    set.inSet[14] = true;
    set.group[14] = kSmallGroup;
    EXPECT_EQ(set.StoredBells(), "100000000000011");
    EXPECT_EQ(set.StoredTypes(), "bnnnnnnnnnnnnns");
    EXPECT_EQ(set.GroupSignature(), "101");
    EXPECT_EQ(set.SetSize(), 3);
}

TEST(BellSet, LettersAndCodes) {
    EXPECT_EQ(GroupLetter(0), u'n');
    EXPECT_EQ(GroupLetter(1), u's');
    EXPECT_EQ(GroupLetter(2), u'm');
    EXPECT_EQ(GroupLetter(3), u'b');
    EXPECT_EQ(GroupOfLetter("b"), 3);
    EXPECT_EQ(GroupOfLetter("S"), 0);
    EXPECT_EQ(GroupOfLetter("x"), 0);
}
