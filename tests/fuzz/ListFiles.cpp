// The list files: the bell catalogue (Data/desc.kli) and the four chime catalogues, read as at
// start-up, then the chime lists filtered for a bell set taken from the input.

#include "FuzzSupport.h"

#include "app/core/TextFile.h"
#include "catalogue/core/ChimeFilter.h"
#include "catalogue/core/DataFileCheck.h"
#include "catalogue/core/ListFile.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"

using namespace orvane;

namespace {

struct CountingReporter : BadDataFileReporter {
    int reports = 0;
    void ReportBadDataFile(const QString&) override { ++reports; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // desc.kli, small.kli, middle.kli, big.kli, common.kli, then a group signature.
    const QList<QByteArray> parts = fuzz::SplitInput(data, size, 6);
    const QString root = fuzz::Scratch();
    QDir().mkpath(root + "/Chime");
    fuzz::WriteFile(root + "/desc.kli", parts[0]);
    for (int c = 0; c < TSoundData::kCatalogueCount; ++c) {
        fuzz::WriteFile(root + "/Chime/" + TSoundData::FileName(c), parts[1 + c]);
    }
    CountingReporter reporter;
    const TBellData bells(root + "/desc.kli", reporter);
    for (int column = 0; column < TBellData::kColumnCount; ++column) {
        for (int bell = -1; bell <= TBellData::kBellCount; ++bell) {
            (void)bells.Cell(column, bell);
        }
    }
    (void)bells.FindByName(bells.Cell(TBellData::kName, 3));

    const TSoundData chimes(root + "/Chime", reporter);
    const QString signature = DecodeText(parts[5]).left(8);
    for (int c = 0; c < TSoundData::kCatalogueCount; ++c) {
        const int rows = chimes.RowCount(c);
        for (int column = 0; column < TSoundData::kColumnCount; ++column) {
            for (int row = -1; row <= rows; ++row) {
                (void)chimes.Cell(c, column, row);
            }
        }
    }
    for (int group = 0; group < 3; ++group) {
        (void)GroupChimes(chimes, group, signature);
    }
    (void)CommonChimes(chimes, signature);

    QStringList fields;
    SplitString(DecodeText(parts[1]), DecodeText(parts[2]).left(4), &fields);
    return 0;
}
