#include "app/core/LibraryInstaller.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace orvane {

namespace {

// While alive, the application's windows are minimised and hidden (off the task bar); at the
// end they are shown again, restored and brought to the front, the active one activated last.
class ApplicationHidden {
public:
    ApplicationHidden() {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            return;
        }
        active_ = QGuiApplication::focusWindow();
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (window->isVisible()) {
                windows_.append(window);
                window->showMinimized();
                window->hide();
            }
        }
    }
    ~ApplicationHidden() {
        for (const QPointer<QWindow>& window : std::as_const(windows_)) {
            if (window) {
                window->showNormal();
                window->raise();
            }
        }
        QWindow* front = active_ ? active_.data() : (windows_.isEmpty() ? nullptr : windows_.first().data());
        if (front) {
            front->raise();
            front->requestActivate();
        }
    }
    ApplicationHidden(const ApplicationHidden&) = delete;
    ApplicationHidden& operator=(const ApplicationHidden&) = delete;

private:
    QList<QPointer<QWindow>> windows_;
    QPointer<QWindow> active_;
};

}  // namespace

bool RunProcess(const QString& commandLine, bool hideWhileWaiting,
                const std::function<bool()>& askedToEnd) {
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty()) {
        return false;
    }
    const QString program = parts.takeFirst();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, parts);
    if (!process.waitForStarted(-1)) {
        return false;
    }
    if (hideWhileWaiting) {
        const ApplicationHidden hidden;
        process.waitForFinished(-1);
    } else {
        while (!process.waitForFinished(100)) {
            if (process.state() == QProcess::NotRunning) {
                break;
            }
            QCoreApplication::processEvents();
            if (askedToEnd && askedToEnd()) {
                process.kill();
                process.waitForFinished(-1);
                return false;
            }
        }
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool InstallChimeLibrary(const QString& appDir, const QString& payloadResource,
                         const std::function<bool()>& askedToEnd) {
    const QString target = QDir(appDir).filePath(QStringLiteral("bells.exe"));
    QFile payload(payloadResource);
    if (!payload.open(QIODevice::ReadOnly)) {
        return false;
    }
    QFile::remove(target);
    {
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly)) {
            return false;
        }
        const QByteArray bytes = payload.readAll();
        if (out.write(bytes) != bytes.size()) {
            out.close();
            QFile::remove(target);
            return false;
        }
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    const bool ok = RunProcess(QStringLiteral("\"") + target + QStringLiteral("\""), false, askedToEnd);
    QFile::remove(target);
    return ok;
}

void CopySoundFiles(const QString& sourceDir, const QString& tempDir) {
    QDir temp(tempDir);
    if (!temp.exists()) {
        QDir().mkpath(tempDir);
    }
    const QDir source(sourceDir);
    const QStringList names =
        source.entryList({QStringLiteral("*.wav")}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QString& name : names) {
        const QFileInfo original(source.filePath(name));
        const QFileInfo copy(temp.filePath(name));
        if (copy.exists() && copy.size() == original.size() &&
            copy.lastModified() == original.lastModified()) {
            continue;
        }
        // Copy beside the old copy and replace it only when the new one is whole.
        const QString part = copy.filePath() + QStringLiteral(".part");
        QFile::remove(part);
        if (!QFile::copy(original.filePath(), part)) {
            continue;
        }
        QFile fresh(part);
        if (!fresh.open(QIODevice::ReadWrite) ||
            !fresh.setFileTime(original.lastModified(), QFileDevice::FileModificationTime)) {
            QFile::remove(part);
            continue;
        }
        fresh.close();
        QFile::remove(copy.filePath());
        if (!QFile::rename(part, copy.filePath())) {
            QFile::remove(part);
        }
    }
}

}  // namespace orvane
