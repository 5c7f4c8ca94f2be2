#pragma once

#include "catalogue/core/DataFileCheck.h"

#include <QString>
#include <QStringList>
#include <array>

namespace orvane {

// The bell catalogue: the fifteen bells of Data/desc.kli, heaviest first. Loaded once at
// start-up; a missing file, fewer than fifteen lines or a row of fewer than eight fields is
// reported through the reporter (loading goes on with what it has).
class TBellData {
public:
    static constexpr int kBellCount = 15;
    static constexpr int kColumnCount = 8;
    enum Column { kName = 0, kSound, kPictureIn, kPictureOut, kWeight, kSecond, kKey, kNote };

    TBellData(const QString& descFile, BadDataFileReporter& reporter);

    // Cell of a bell in a column; empty when the row or field was missing.
    QString Cell(int column, int bell) const;
    // The bell's sound file, relative to a sound folder, with this system's separators.
    QString SoundFile(int bell) const;
    // SoundFile of every bell, 0 to 14.
    QStringList SoundFiles() const;
    // Index of the first bell whose name equals name without regard to case, or -1.
    int FindByName(const QString& name) const;

    QStringList Lines;
    QStringList Fields;
    std::array<QStringList, kColumnCount> Columns;
};

}  // namespace orvane
