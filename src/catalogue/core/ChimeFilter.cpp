#include "catalogue/core/ChimeFilter.h"

#include "catalogue/core/TSoundData.h"

namespace orvane {

namespace {

constexpr int kGroupCount = 3;

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

void AddRow(const TSoundData& data, int catalogue, int row, ChimeChoice& choice) {
    choice.titles.append(data.Cell(catalogue, TSoundData::kTitle, row));
    choice.files.append(data.Cell(catalogue, TSoundData::kFile, row));
}

}  // namespace

ChimeChoice GroupChimes(const TSoundData& data, int group, const QString& signature) {
    ChimeChoice choice;
    if (group < 0 || group >= kGroupCount) {
        return choice;
    }
    const QString count = signature.mid(group, 1);
    for (int row = 0; row < data.RowCount(group); ++row) {
        if (count.compare(data.Cell(group, TSoundData::kRequirement, row)) >= 0) {
            AddRow(data, group, row, choice);
        }
    }
    return choice;
}

ChimeChoice CommonChimes(const TSoundData& data, const QString& signature) {
    ChimeChoice choice;
    int have[kGroupCount] = {};
    for (int g = 0; g < kGroupCount; ++g) {
        have[g] = g < signature.size() && IsDigit(signature[g]) ? signature[g].digitValue() : 0;
    }
    for (int row = 0; row < data.RowCount(TSoundData::kCommon); ++row) {
        const QString need = data.Cell(TSoundData::kCommon, TSoundData::kRequirement, row);
        if (need.size() != kGroupCount) {
            continue;
        }
        bool fits = true;
        for (int g = 0; g < kGroupCount && fits; ++g) {
            fits = IsDigit(need[g]) && need[g].digitValue() <= have[g];
        }
        if (fits) {
            AddRow(data, TSoundData::kCommon, row, choice);
        }
    }
    return choice;
}

}  // namespace orvane
