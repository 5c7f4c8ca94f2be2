#include "catalogue/core/VariantTable.h"

namespace orvane {

namespace {

constexpr const char* kEmptySlot = "000";

// Variants 0 and 1 for the sizes 5 to 15.
constexpr const char* kRecommended[][2] = {
    {"221", "000"}, {"231", "000"}, {"331", "241"}, {"341", "332"}, {"342", "000"}, {"352", "343"},
    {"353", "362"}, {"363", "372"}, {"373", "000"}, {"374", "365"}, {"375", "000"},
};

int Digit(const QString& slot, int position) {
    return position < slot.size() ? slot[position].digitValue() : 0;
}

}  // namespace

VariantTable::VariantTable() {
    for (auto& size : slots_) {
        size.fill(QString::fromLatin1(kEmptySlot));
    }
}

void VariantTable::Fill() {
    for (int n = kMinSize; n <= kMaxSize; ++n) {
        auto& size = slots_[n - kMinSize];
        size.fill(QString::fromLatin1(kEmptySlot));
        size[0] = QString::fromLatin1(kRecommended[n - kMinSize][0]);
        size[1] = QString::fromLatin1(kRecommended[n - kMinSize][1]);
    }
}

QString VariantTable::Slot(int setSize, int index) const {
    if (setSize < kMinSize || setSize > kMaxSize || index < 0 || index >= kSlotCount) {
        return QString::fromLatin1(kEmptySlot);
    }
    return slots_[setSize - kMinSize][index];
}

bool VariantTable::HasVariant(int setSize, int index) const {
    return Slot(setSize, index) != QLatin1String(kEmptySlot);
}

int VariantTable::VariantCount(int setSize) const {
    int count = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        count += HasVariant(setSize, i) ? 1 : 0;
    }
    return count;
}

VariantButtons AssignGroupsFromVariant(BellSet& set, const VariantTable& table, int setSize,
                                       int variantIndex) {
    VariantButtons buttons;
    set.group.fill(kNoGroup);
    if (setSize >= VariantTable::kMinSize) {
        const QString slot = table.Slot(setSize, variantIndex);
        const int great = Digit(slot, 2);
        const int middle = Digit(slot, 1);
        int current = kGreatGroup;
        int greatCount = 0;
        int middleCount = 0;
        for (int i = 0; i < BellSet::kBellCount; ++i) {
            if (!set.inSet[i]) {
                continue;
            }
            if (current == kGreatGroup) {
                set.group[i] = kGreatGroup;
                if (++greatCount > great) {
                    current = kMiddleGroup;
                }
            }
            if (current == kMiddleGroup) {
                set.group[i] = kMiddleGroup;
                if (++middleCount > middle) {
                    current = kSmallGroup;
                }
            }
            if (current == kSmallGroup) {
                set.group[i] = kSmallGroup;
            }
        }
        buttons.previous = variantIndex > 0;
        buttons.next = variantIndex < VariantTable::kSlotCount - 1 &&
                       table.HasVariant(setSize, variantIndex + 1);
    }
    // Only bells 11 to 14 may be small.
    constexpr int kLastNonSmallBell = 10;
    constexpr int kMiddleLimit = 7;
    for (int i = 0; i <= kLastNonSmallBell; ++i) {
        if (!set.inSet[i] || set.group[i] != kSmallGroup) {
            continue;
        }
        if (set.GroupCount(kMiddleGroup) >= kMiddleLimit) {
            for (int j = BellSet::kBellCount - 1; j >= 0; --j) {
                if (set.inSet[j] && set.group[j] == kMiddleGroup) {
                    set.group[j] = kGreatGroup;
                    break;
                }
            }
        }
        set.group[i] = kMiddleGroup;
    }
    return buttons;
}

QStringList VariantDescription(const VariantTable& table, int setSize) {
    if (setSize < VariantTable::kMinSize) {
        return {QStringLiteral("Please, select more than 5 bells")};
    }
    return {QStringLiteral("There are  ") + QString::number(table.VariantCount(setSize)) +
            QStringLiteral(" variants of recommended group distributions for ") +
            QString::number(setSize) + QStringLiteral(" bells.")};
}

}  // namespace orvane
