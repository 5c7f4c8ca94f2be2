#pragma once

#include <QChar>
#include <QString>
#include <array>

namespace orvane {

// Group codes of the bell set: 0 none, 1 small bells, 2 medium-size bells, 3 great bells.
enum GroupCode : int { kNoGroup = 0, kSmallGroup = 1, kMiddleGroup = 2, kGreatGroup = 3 };

// Letter of a group code: 0 "n", 1 "s", 2 "m", 3 "b" (anything else "n").
QChar GroupLetter(int code);
// Group index 0 (small), 1 (medium-size) or 2 (great) of a mark's first character "s", "m"
// or "b"; -1 for any other character.
int GroupIndexOf(QChar letter);
// Group code of a letter: exactly "s", "m", "b" give 1, 2, 3; every other text gives 0.
int GroupOfLetter(const QString& letter);

// The choice of catalogue bells in use and the group of each. Index 0 is the heaviest bell.
struct BellSet {
    static constexpr int kBellCount = 15;

    std::array<bool, kBellCount> inSet{};
    std::array<int, kBellCount> group{};

    int SetSize() const;
    // Number of bells in the set with the group code.
    int GroupCount(int code) const;
    // The counts of small, medium-size and great bells written one after another ("231").
    QString GroupSignature() const;
    void Clear();

    // The stored forms: "1"/"0" per bell, and the group letter of a bell in the set ("n" for
    // one out of the set), bell 0 first.
    QString StoredBells() const;
    QString StoredTypes() const;
};

}  // namespace orvane
