#pragma once

#include "catalogue/core/BellSet.h"

#include <QString>
#include <QStringList>
#include <array>

namespace orvane {

// The recommended group distributions: for each set size from 5 to 15, five slots (0 to 4),
// each a text of three digits giving the numbers of small, medium-size and great bells.
// "000" marks an empty slot. The table is empty (every slot "000") until Fill runs.
class VariantTable {
  public:
    static constexpr int kSlotCount = 5;
    static constexpr int kMinSize = 5;
    static constexpr int kMaxSize = 15;

    VariantTable();

    // Writes the fixed distributions; slots 2 to 4 stay empty for every size.
    void Fill();
    // The slot text; "000" for a size or index outside the table.
    QString Slot(int setSize, int index) const;
    // True when the slot holds a distribution (is not "000").
    bool HasVariant(int setSize, int index) const;
    // The number of slots of the size that hold a distribution (0 outside the table).
    int VariantCount(int setSize) const;

  private:
    std::array<std::array<QString, kSlotCount>, kMaxSize - kMinSize + 1> slots_;
};

// Which variant buttons the assignment leaves enabled.
struct VariantButtons {
    bool previous = false;
    bool next = false;
};

// Gives every bell of the set its group from the slot at variantIndex for setSize: the
// heaviest bells (lowest indices) become great, the next ones medium-size and the rest small;
// bells out of the set get no group. Sizes of 4 or less clear every group. Bells 0 to 10 may
// not be small: each one that would be becomes medium-size, and when 7 medium-size bells exist
// already, the medium-size bell with the highest index becomes great first. Returns the
// variant buttons to enable.
VariantButtons AssignGroupsFromVariant(BellSet& set, const VariantTable& table, int setSize,
                                       int variantIndex);

// The lines of the variant description for a set size: a request for more bells below 5,
// otherwise the number of distributions the table holds for the size.
QStringList VariantDescription(const VariantTable& table, int setSize);

}  // namespace orvane
