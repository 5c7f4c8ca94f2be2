#include "catalogue/core/TBellData.h"

#include "app/core/TextFile.h"
#include "catalogue/core/ListFile.h"

namespace orvane {

TBellData::TBellData(const QString& descFile, BadDataFileReporter& reporter) {
    CheckDataFile(descFile, reporter);
    ReadTextLines(descFile, Lines);
    bool reported = false;
    for (int i = 0; i < kBellCount; ++i) {
        const QString line = i < Lines.size() ? Lines[i] : QString();
        SplitString(line, QStringLiteral(";"), &Fields);
        for (int c = 0; c < kColumnCount; ++c) {
            if (c < Fields.size()) {
                Columns[c].append(Fields[c]);
            } else {
                Columns[c].append(QString());
                if (!reported) {
                    reported = true;
                    reporter.ReportBadDataFile(descFile);
                }
            }
        }
    }
}

QString TBellData::Cell(int column, int bell) const {
    if (column < 0 || column >= kColumnCount || bell < 0 || bell >= Columns[column].size()) {
        return QString();
    }
    return Columns[column][bell];
}

QString TBellData::SoundFile(int bell) const {
    return NativePath(Cell(kSound, bell));
}

QStringList TBellData::SoundFiles() const {
    QStringList files;
    for (int bell = 0; bell < kBellCount; ++bell) {
        files.append(SoundFile(bell));
    }
    return files;
}

int TBellData::FindByName(const QString& name) const {
    const QStringList& names = Columns[kName];
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace orvane
