#pragma once

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

// A copy of the built program folder in a temporary folder, for tests that start the program
// or its main window on real files. The sound files are linked, not copied.
class ProgramFolder {
public:
    ProgramFolder() {
        const QDir source(QStringLiteral(ORVANE_PROGRAM_DIR));
        QDirIterator it(source.path(), QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString relative = source.relativeFilePath(from);
            const QString to = Path(relative);
            QDir().mkpath(QFileInfo(to).path());
            if (relative.startsWith(QStringLiteral("Sound/"))) {
                QFile::link(from, to);
            } else {
                QFile::copy(from, to);
            }
        }
        QDir().mkpath(CacheDir());
    }

    QString Dir() const { return dir_.path() + QStringLiteral("/program"); }
    QString Path(const QString& relative) const { return Dir() + u'/' + relative; }
    QString CacheDir() const { return dir_.path() + QStringLiteral("/cache"); }
    QString Root() const { return dir_.path(); }

    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write(bytes);
        }
    }

private:
    QTemporaryDir dir_;
};

// The one QApplication of a test program that needs widgets (offscreen).
inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "orvane-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}
