#include "catalogue/core/TSoundData.h"

#include "app/core/TextFile.h"
#include "catalogue/core/ListFile.h"

namespace orvane {

QString TSoundData::FileName(int catalogue) {
    static const char* const kNames[kCatalogueCount] = {"small.kli", "middle.kli", "big.kli",
                                                         "common.kli"};
    return QString::fromLatin1(kNames[catalogue]);
}

TSoundData::TSoundData(const QString& chimeDir, BadDataFileReporter& reporter) {
    for (int k = 0; k < kCatalogueCount; ++k) {
        const QString file = chimeDir + FileName(k);
        CheckDataFile(file, reporter);
        ReadTextLines(file, Lines[k]);
        bool reported = false;
        for (const QString& line : Lines[k]) {
            SplitString(line, QStringLiteral(";"), &Fields);
            for (int c = 0; c < kColumnCount; ++c) {
                if (c < Fields.size()) {
                    Columns[k][c].append(Fields[c]);
                } else {
                    Columns[k][c].append(QString());
                    if (!reported) {
                        reported = true;
                        reporter.ReportBadDataFile(file);
                    }
                }
            }
        }
    }
}

int TSoundData::RowCount(int catalogue) const {
    if (catalogue < 0 || catalogue >= kCatalogueCount) {
        return 0;
    }
    return static_cast<int>(Columns[catalogue][0].size());
}

QString TSoundData::Cell(int catalogue, int column, int row) const {
    if (catalogue < 0 || catalogue >= kCatalogueCount || column < 0 || column >= kColumnCount ||
        row < 0 || row >= Columns[catalogue][column].size()) {
        return QString();
    }
    return Columns[catalogue][column][row];
}

}  // namespace orvane
