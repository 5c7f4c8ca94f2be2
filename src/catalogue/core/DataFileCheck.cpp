#include "catalogue/core/DataFileCheck.h"

#include <QFileInfo>

namespace orvane {

void CheckDataFile(const QString& path, BadDataFileReporter& reporter) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        reporter.ReportBadDataFile(path);
    }
}

QString BadDataFileMessage(const QString& path) {
    return QStringLiteral("File ") + path + QStringLiteral(" not found or corrupt.") +
           QStringLiteral("\r\n") + QStringLiteral("Application will be terminate. ") +
           QStringLiteral("\r\n") + QStringLiteral("Please, reinstall this programm.");
}

}  // namespace orvane
