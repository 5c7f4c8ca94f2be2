#include "catalogue/core/BellSetRules.h"

#include "app/core/Checked.h"
#include "catalogue/core/TBellData.h"

namespace orvane {

std::array<bool, BellSet::kBellCount> AddBellOffers(const BellSet& set, int selectedGroup) {
    std::array<bool, BellSet::kBellCount> offers{};
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        offers[i] = !set.inSet[i];
    }
    if (set.SetSize() < kGroupedSetSize) {
        return offers;
    }
    bool full = false;
    switch (selectedGroup) {
        case 0:
            for (int i = 0; i < kFirstSmallBell; ++i) {
                offers[i] = false;
            }
            full = set.GroupCount(kSmallGroup) >= kMaxSmallBells;
            break;
        case 1:
            full = set.GroupCount(kMiddleGroup) >= kMaxMiddleBells;
            break;
        case 2:
            full = set.GroupCount(kGreatGroup) >= kMaxGreatBells;
            break;
        default:
            break;  // no node selected: the offers stay those of the bells out of the set
    }
    if (full) {
        offers.fill(false);
    }
    return offers;
}

bool DropAccepted(const BellSet& set, int draggedBell, int targetGroup) {
    switch (targetGroup) {
        case kSmallGroup:
            return set.GroupCount(kSmallGroup) < kMaxSmallBells && draggedBell >= kFirstSmallBell;
        case kMiddleGroup:
            return set.GroupCount(kMiddleGroup) < kMaxMiddleBells;
        case kGreatGroup:
            return set.GroupCount(kGreatGroup) < kMaxGreatBells;
        default:
            return false;
    }
}

QList<int> ApplyStoredBellSet(BellSet& set, const QString& bells, const QString& types) {
    QList<int> added;
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        if (i < bells.size() && bells[i] == u'1') {
            set.inSet[i] = true;
            set.group[i] = GroupOfLetter(types.mid(i, 1));
            added.append(i);
        }
    }
    return added;
}

bool HasOversizedGroup(const BellSet& set) {
    constexpr int kMaxDigit = 9;
    for (int code = kSmallGroup; code <= kGreatGroup; ++code) {
        if (set.GroupCount(code) > kMaxDigit) {
            return true;
        }
    }
    return false;
}

SetTotals ComputeTotals(const BellSet& set, const TBellData& data) {
    SetTotals totals;
    for (int i = 0; i < BellSet::kBellCount; ++i) {
        if (!set.inSet[i]) {
            continue;
        }
        ++totals.count;
        totals.weight += StrToInt(data.Cell(TBellData::kWeight, i));
        static_cast<void>(StrToInt(data.Cell(TBellData::kSecond, i)));  // checked only
    }
    return totals;
}

QString TotalsText(const SetTotals& totals) {
    return QStringLiteral("Total number of bells: ") + QString::number(totals.count) +
           QStringLiteral("\r\n") + QStringLiteral("Total weight: ") +
           QString::number(totals.weight) + QStringLiteral(" kg");
}

}  // namespace orvane
