#include "BenchProgram.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace bench {

void CopyProgramFolder(const QString& to) {
    const QDir source(QStringLiteral(ORVANE_PROGRAM_DIR));
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = source.relativeFilePath(from);
        const QString target = to + u'/' + relative;
        QDir().mkpath(QFileInfo(target).path());
        if (relative.startsWith(QStringLiteral("Sound/"))) {
            QFile::link(from, target);
        } else {
            QFile::copy(from, target);
        }
    }
}

orvane::StartOptions ProgramCopyOptions(const QString& root) {
    orvane::StartOptions options;
    options.appDir = root + QStringLiteral("/program");
    options.cacheDir = root + QStringLiteral("/cache");
    CopyProgramFolder(options.appDir);
    return options;
}

}  // namespace bench
