#include "chime/core/ChimeScore.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(GroupSplitter, ALineAtTheMemoryOfALineOfAnEarlierSplitGivesItsOwnTexts) {
    // Each score is freed before the next is made, so its line tends to take the same memory;
    // the memo kept between splits must not hand it the earlier line's texts.
    struct Case {
        const char* line;
        QStringList groups;  // small, medium-size, great
    };
    const Case cases[] = {{"s1,m2,b3", {"s1", "m2", "b3"}},
                          {"b1,b2,s5", {"s5", "", "b1,b2"}},
                          {"m4,s5,b9", {"s5", "m4", "b9"}},
                          {"s1,m2,b3", {"s1", "m2", "b3"}}};
    TChannels channels;
    for (const Case& c : cases) {
        channels.Steps.clear();
        channels.Steps = QStringList(3, QString::fromLatin1(c.line));
        SplitByGroup(channels);
        for (int g = 0; g < 3; ++g) {
            ASSERT_EQ(channels.GroupSteps(g), QStringList(3, c.groups.at(g))) << c.line;
        }
    }
}
