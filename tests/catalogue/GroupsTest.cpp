#include "catalogue/core/BellSetRules.h"
#include "catalogue/core/ChimeFilter.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "catalogue/core/VariantTable.h"
#include "support/RecordingReporter.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <stdexcept>
#include <vector>

using namespace orvane;

namespace {

BellSet SetOf(int first, int last) {
    BellSet set;
    for (int i = first; i <= last; ++i) {
        set.inSet[i] = true;
    }
    return set;
}

// The group codes of bells first to last.
std::vector<int> Groups(const BellSet& set, int first, int last) {
    return std::vector<int>(set.group.begin() + first, set.group.begin() + last + 1);
}

VariantTable FilledTable() {
    VariantTable table;
    table.Fill();
    return table;
}

void WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(VariantTable, HoldsTheDistributionsOnlyOnceFilled) {
    VariantTable table;
    EXPECT_EQ(table.VariantCount(8), 0);
    table.Fill();
    EXPECT_EQ(table.Slot(8, 0), "341");
    EXPECT_EQ(table.Slot(8, 1), "332");
    EXPECT_EQ(table.Slot(8, 2), "000");
    EXPECT_EQ(table.Slot(4, 0), "000");
    EXPECT_EQ(table.Slot(16, 0), "000");
    for (int n = 5; n <= 15; ++n) {
        for (int v = 0; v < VariantTable::kSlotCount; ++v) {
            const QString slot = table.Slot(n, v);
            if (slot != "000") {
                EXPECT_EQ(slot[0].digitValue() + slot[1].digitValue() + slot[2].digitValue(), n)
                    << n << " " << v;
            }
        }
    }
    EXPECT_EQ(table.VariantCount(7), 2);
    EXPECT_EQ(table.VariantCount(9), 1);
}

TEST(AssignGroups, FiveLightBellsFollowTheFirstVariant) {
    BellSet set = SetOf(10, 14);
    set.group[3] = kGreatGroup;  // a bell out of the set loses its group
    const VariantButtons buttons = AssignGroupsFromVariant(set, FilledTable(), 5, 0);
    EXPECT_EQ(Groups(set, 10, 14), (std::vector<int>{3, 2, 2, 1, 1}));
    EXPECT_EQ(set.group[3], 0);
    EXPECT_FALSE(buttons.previous);
    EXPECT_FALSE(buttons.next);  // 5 bells have one variant
}

TEST(AssignGroups, HeavyBellsThatWouldBeSmallBecomeMediumSize) {
    BellSet set = SetOf(0, 7);
    const VariantButtons buttons = AssignGroupsFromVariant(set, FilledTable(), 8, 0);
    EXPECT_EQ(Groups(set, 0, 7), (std::vector<int>{3, 2, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(set.GroupSignature(), "071");
    EXPECT_FALSE(buttons.previous);
    EXPECT_TRUE(buttons.next);
}

TEST(AssignGroups, AFullMediumGroupPassesItsLastBellToTheGreatBells) {
    BellSet set = SetOf(0, 9);
    AssignGroupsFromVariant(set, FilledTable(), 10, 0);
    EXPECT_EQ(Groups(set, 0, 9), (std::vector<int>{3, 3, 2, 2, 2, 2, 2, 2, 3, 2}));
    EXPECT_EQ(set.GroupSignature(), "073");
}

TEST(AssignGroups, VariantButtonsFollowTheIndexAndTheTable) {
    BellSet set = SetOf(8, 14);
    const VariantTable table = FilledTable();
    VariantButtons b = AssignGroupsFromVariant(set, table, 7, 1);  // "241"
    EXPECT_TRUE(b.previous);
    EXPECT_FALSE(b.next);
    EXPECT_EQ(set.GroupSignature(), "241");
    b = AssignGroupsFromVariant(set, table, 7, 0);
    EXPECT_FALSE(b.previous);
    EXPECT_TRUE(b.next);
}

TEST(AssignGroups, SmallSetsAndEmptySlotsStayInsideTheLimits) {
    BellSet small = SetOf(11, 14);
    small.group.fill(kSmallGroup);
    const VariantButtons none = AssignGroupsFromVariant(small, FilledTable(), 4, 0);
    EXPECT_EQ(small.GroupSignature(), "000");
    EXPECT_FALSE(none.previous || none.next);
    // All fifteen bells at an index without a distribution: every bell would be small.
    BellSet all = SetOf(0, 14);
    AssignGroupsFromVariant(all, FilledTable(), 15, 1);
    EXPECT_EQ(all.GroupSignature(), "474");
    EXPECT_EQ(Groups(all, 11, 14), (std::vector<int>{1, 1, 1, 1}));
}

TEST(VariantDescription, CountsTheVariantsOrAsksForMoreBells) {
    const VariantTable table = FilledTable();
    EXPECT_EQ(VariantDescription(table, 7),
              QStringList{"There are  2 variants of recommended group distributions for 7 bells."});
    EXPECT_EQ(VariantDescription(table, 4), QStringList{"Please, select more than 5 bells"});
    EXPECT_EQ(VariantDescription(table, 0), QStringList{"Please, select more than 5 bells"});
}

TEST(GroupLimits, AddingToTheSmallGroupOffersOnlyLightBellsOutOfTheSet) {
    BellSet set = SetOf(0, 4);
    set.inSet[12] = true;
    AssignGroupsFromVariant(set, FilledTable(), 6, 0);  // "231": bell 12 is the one small bell
    ASSERT_EQ(set.GroupCount(kSmallGroup), 1);
    auto offers = AddBellOffers(set, 0);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(offers[i], i == 11 || i == 13 || i == 14) << i;
    }
    // The medium-size group takes every bell out of the set.
    offers = AddBellOffers(set, 1);
    EXPECT_TRUE(offers[5] && offers[11] && !offers[0] && !offers[12]);
    // Three small bells: nothing more for the small group.
    set.inSet[11] = set.inSet[13] = true;
    set.group[11] = set.group[13] = kSmallGroup;
    offers = AddBellOffers(set, 0);
    EXPECT_EQ(std::count(offers.begin(), offers.end(), true), 0);
    // No selected node: the bells out of the set, not narrowed by any group.
    offers = AddBellOffers(set, -1);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(offers[i], !set.inSet[i]) << i;
    }
}

TEST(GroupLimits, FullGroupsOfferNothingAndSmallSetsOfferEveryBellOutOfTheSet) {
    BellSet set = SetOf(0, 4);
    set.group.fill(kGreatGroup);
    auto offers = AddBellOffers(set, 2);
    EXPECT_EQ(std::count(offers.begin(), offers.end(), true), 0);
    offers = AddBellOffers(set, 1);
    EXPECT_EQ(std::count(offers.begin(), offers.end(), true), 10);
    set.inSet[4] = false;  // four bells: no groups, any bell out of the set
    offers = AddBellOffers(set, -1);
    EXPECT_EQ(std::count(offers.begin(), offers.end(), true), 11);
    EXPECT_FALSE(offers[0]);
}

TEST(GroupLimits, DropsRespectTheGroupLimits) {
    BellSet set = SetOf(5, 14);
    AssignGroupsFromVariant(set, FilledTable(), 10, 0);  // "352": bells 12 to 14 small
    set.group[12] = kMiddleGroup;                        // two small bells left
    EXPECT_FALSE(DropAccepted(set, 9, kSmallGroup));
    EXPECT_TRUE(DropAccepted(set, 12, kSmallGroup));
    set.group[11] = kSmallGroup;
    EXPECT_FALSE(DropAccepted(set, 12, kSmallGroup));  // three small bells
    EXPECT_FALSE(DropAccepted(set, -1, kSmallGroup));
    EXPECT_TRUE(DropAccepted(set, 5, kGreatGroup));
    EXPECT_FALSE(DropAccepted(set, 5, kNoGroup));
    for (int i = 5; i <= 11; ++i) {
        set.group[i] = kMiddleGroup;
    }
    EXPECT_FALSE(DropAccepted(set, 13, kMiddleGroup));
}

TEST(StoredSet, ShortStringsAddOnlyTheBellsTheyMark) {
    BellSet set;
    set.group[2] = kGreatGroup;
    EXPECT_EQ(ApplyStoredBellSet(set, "000000000000011", "nnnnnnnnnnnnnnn"), (QList<int>{13, 14}));
    EXPECT_EQ(set.SetSize(), 2);
    EXPECT_EQ(set.GroupSignature(), "000");
    BellSet shortSet;
    EXPECT_EQ(ApplyStoredBellSet(shortSet, "1x1 1", "bM"), (QList<int>{0, 2, 4}));
    EXPECT_EQ(shortSet.group[0], kGreatGroup);
    EXPECT_EQ(shortSet.group[2], kNoGroup);  // no letter
    EXPECT_EQ(ApplyStoredBellSet(shortSet, "", ""), QList<int>{});
    EXPECT_EQ(shortSet.SetSize(), 3);  // bells already in the set stay
}

TEST(StoredSet, TenBellsInOneGroupAreTooManyForTheSignature) {
    BellSet set;
    ApplyStoredBellSet(set, "111111111000000", "mmmmmmmmmnnnnnn");
    EXPECT_FALSE(HasOversizedGroup(set));
    ApplyStoredBellSet(set, "111111111100000", "mmmmmmmmmmnnnnn");
    EXPECT_TRUE(HasOversizedGroup(set));
    EXPECT_EQ(set.GroupSignature().size(), 4);
}

TEST(Totals, AddUpTheSetAndRefuseAWeightThatIsNotAnInteger) {
    QTemporaryDir dir;
    const QString desc = dir.path() + "/desc.kli";
    QByteArray text;
    for (int i = 0; i < 15; ++i) {
        const QByteArray weight = i == 7 ? "12,5" : QByteArray::number(1000 + i);
        const QByteArray second = i == 9 ? "x" : "1";
        text += "Bell " + QByteArray::number(i) + ";b.wav;in.bmp;out.bmp;" + weight + ";" + second +
                ";65;note\r\n";
    }
    WriteRaw(desc, text);
    RecordingReporter reporter;
    TBellData data(desc, reporter);
    ASSERT_TRUE(reporter.paths.isEmpty());
    BellSet set;
    EXPECT_EQ(TotalsText(ComputeTotals(set, data)),
              "Total number of bells: 0\r\nTotal weight: 0 kg");
    set.inSet[0] = set.inSet[14] = true;
    EXPECT_EQ(TotalsText(ComputeTotals(set, data)),
              "Total number of bells: 2\r\nTotal weight: 2014 kg");
    set.inSet[7] = true;
    EXPECT_THROW(ComputeTotals(set, data), std::invalid_argument);
    set.inSet[7] = false;
    set.inSet[9] = true;  // the column after the weight must read as an integer too
    EXPECT_THROW(ComputeTotals(set, data), std::invalid_argument);
}

TEST(ChimeFilter, GroupListsCompareTheCountAsText) {
    QTemporaryDir dir;
    WriteRaw(dir.path() + "/small.kli",
             "1;One;a.kol\r\n2;Two;b.kol\r\n10;Ten;c.kol\r\n4;Four;d.kol\r\n");
    WriteRaw(dir.path() + "/middle.kli", "0;None;e.kol\r\n");
    WriteRaw(dir.path() + "/big.kli", "1;Great;f.kol\r\n");
    WriteRaw(dir.path() + "/common.kli",
             "001;Blagovest;g.kol\r\n221;Trezvon;h.kol\r\n21;Short;i.kol\r\n2a1;Odd;j.kol\r\n"
             "231;Perebor;k.kol\r\n");
    RecordingReporter reporter;
    TSoundData data(dir.path() + "/", reporter);
    ASSERT_TRUE(reporter.paths.isEmpty());
    // Three small bells: "3" sorts after "1", "2" and "10", before "4".
    ChimeChoice small = GroupChimes(data, 0, "301");
    EXPECT_EQ(small.titles, (QStringList{"One", "Two", "Ten"}));
    EXPECT_EQ(small.files, (QStringList{"a.kol", "b.kol", "c.kol"}));
    EXPECT_EQ(GroupChimes(data, 1, "301").titles, QStringList{"None"});
    EXPECT_EQ(GroupChimes(data, 2, "300").titles, QStringList{});
    EXPECT_EQ(GroupChimes(data, 0, "001").titles, QStringList{});
    // Whole chimes: each digit as a number; malformed requirements never match.
    ChimeChoice common = CommonChimes(data, "221");
    EXPECT_EQ(common.titles, (QStringList{"Blagovest", "Trezvon"}));
    EXPECT_EQ(common.files, (QStringList{"g.kol", "h.kol"}));
    EXPECT_EQ(CommonChimes(data, "000").titles, QStringList{});
    EXPECT_EQ(CommonChimes(data, "351").titles, (QStringList{"Blagovest", "Trezvon", "Perebor"}));
}
