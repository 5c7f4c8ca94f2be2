#pragma once

#include "catalogue/core/DataFileCheck.h"

#include <QString>
#include <QStringList>
#include <array>

namespace orvane {

// The chime catalogue: the four list files of the Chime folder (0 small.kli, 1 middle.kli,
// 2 big.kli, 3 common.kli), each row a requirement, a title and a chime file path relative to
// the Chime folder. Loaded once at start-up; a missing file or a row of fewer than three
// fields (an empty line included) is reported through the reporter.
class TSoundData {
public:
    static constexpr int kCatalogueCount = 4;
    static constexpr int kColumnCount = 3;
    enum Column { kRequirement = 0, kTitle, kFile };
    enum Catalogue { kSmall = 0, kMiddle, kBig, kCommon };

    TSoundData(const QString& chimeDir, BadDataFileReporter& reporter);

    static QString FileName(int catalogue);

    int RowCount(int catalogue) const;
    QString Cell(int catalogue, int column, int row) const;

    QStringList Fields;
    std::array<std::array<QStringList, kColumnCount>, kCatalogueCount> Columns;
    std::array<QStringList, kCatalogueCount> Lines;
    // File paths of the rows the current bell set can play, in the order of their selector.
    std::array<QStringList, kCatalogueCount> Playable;
};

}  // namespace orvane
