#include "app/core/LibraryInstaller.h"

#include "app/core/InstallerRun.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

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

// Waits for a started process to end, serving the application's pending events every 100 ms
// and killing the process when askedToEnd() turns true.
bool WaitServingEvents(QProcess& process, const std::function<bool()>& askedToEnd) {
    if (!process.waitForStarted(-1)) {
        return false;
    }
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
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

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
    if (!hideWhileWaiting) {
        return WaitServingEvents(process, askedToEnd);
    }
    if (!process.waitForStarted(-1)) {
        return false;
    }
    {
        const ApplicationHidden hidden;
        process.waitForFinished(-1);
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool InstallChimeLibrary(const QString& appDir, const QString& payloadResource,
                         const std::function<bool()>& askedToEnd) {
    const std::unique_ptr<InstallerRun> run = InstallerRun::Start(appDir, payloadResource);
    return run && run->Finish(askedToEnd);
}

namespace {

// The bytes of `in` from its start to its end, written to `out`: in the kernel where it can,
// else through a buffer.
bool CopyContent(int in, int out) {
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n == 0) {
            return true;
        }
        if (n > 0) {
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        break;  // not offered between these files: copy through a buffer
    }
    if (::lseek(in, 0, SEEK_SET) != 0 || ::lseek(out, 0, SEEK_SET) != 0 || ::ftruncate(out, 0) != 0) {
        return false;
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer.data() + done, size_t(n - done));
            if (w < 0 && errno == EINTR) {
                continue;
            }
            if (w <= 0) {
                return false;
            }
            done += w;
        }
    }
}

// Copies a file under a temporary name beside the target, then gives it the target's name, so
// that an interrupted copy never stands under the target's name. The copy is a cache of the
// program's own file: it is not forced to the disk, which would make a first start wait for
// tens of megabytes to be written.
bool CopyThroughTemporary(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (!out.open() || !CopyContent(in.handle(), out.handle())) {
        return false;
    }
    // The copy takes the original's permissions and modification time, so that a later start
    // sees it as up to date; it replaces an older copy in one rename, never half written.
    struct stat st;
    if (::fstat(in.handle(), &st) != 0) {
        return false;
    }
    ::fchmod(out.handle(), st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::futimens(out.handle(), times) != 0) {
        return false;
    }
    if (::rename(QFile::encodeName(out.fileName()).constData(),
                 QFile::encodeName(target).constData()) != 0) {
        return false;
    }
    out.setAutoRemove(false);
    return true;
}

}  // namespace

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
        CopyThroughTemporary(original.filePath(), copy.filePath());
    }
}

}  // namespace orvane
