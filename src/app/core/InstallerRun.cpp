#include "app/core/InstallerRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

extern char** environ;

namespace orvane {

namespace {

// `bytes` written to a new executable file of the user's own at `path`; false (and no file)
// when they cannot be.
bool WriteProgram(const QByteArray& path, const QByteArray& bytes) {
    ::unlink(path.constData());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0700);
    if (fd < 0) {
        return false;
    }
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = false;
            break;
        }
        data += n;
        left -= n;
    }
    ok = ::fchmod(fd, 0700) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(path.constData());
    }
    return ok;
}

std::vector<std::string> CurrentEnvironment() {
    std::vector<std::string> variables;
    for (char** variable = environ; variable != nullptr && *variable != nullptr; ++variable) {
        variables.emplace_back(*variable);
    }
    return variables;
}

}  // namespace

std::unique_ptr<InstallerRun> InstallerRun::Start(const QString& appDir, const QString& payloadResource) {
    QFile payload(payloadResource);
    if (!payload.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    // A resource stored uncompressed lies in the program's mapped image: the bytes are written
    // from there, without a copy on the heap.
    const qint64 length = payload.size();
    const uchar* mapped = length > 0 ? payload.map(0, length) : nullptr;
    QByteArray bytes = mapped ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), length)
                              : payload.readAll();
    if (mapped && !payloadResource.startsWith(u':')) {
        bytes.detach();  // a file's mapping ends with the QFile
    }
    return std::unique_ptr<InstallerRun>(
        new InstallerRun(QDir(appDir).filePath(QStringLiteral("bells.exe")), std::move(bytes)));
}

InstallerRun::InstallerRun(QString target, QByteArray payload)
    : target_(std::move(target)),
      payload_(std::move(payload)),
      environment_(CurrentEnvironment()),
      thread_([this] { Run(); }) {}

InstallerRun::~InstallerRun() {
    Finish([] { return true; });
}

void InstallerRun::Run() {
    const QByteArray path = QFile::encodeName(target_);
    std::vector<char*> environment;
    for (const std::string& variable : environment_) {
        environment.push_back(const_cast<char*>(variable.c_str()));
    }
    environment.push_back(nullptr);
    bool ok = WriteProgram(path, payload_);
    pid_t pid = 0;
    {
        std::unique_lock lock(mutex_);
        if (ok && !cancelled_) {
            char* const argv[] = {const_cast<char*>(path.constData()), nullptr};
            ok = ::posix_spawn(&pid, path.constData(), nullptr, nullptr, argv, environment.data()) == 0;
            pid_ = ok ? pid : 0;
        } else {
            ok = false;
        }
    }
    if (ok) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    const std::lock_guard lock(mutex_);
    pid_ = 0;
    ok_ = ok && !cancelled_;
    done_ = true;
    ended_.notify_all();
}

bool InstallerRun::Finish(const std::function<bool()>& askedToEnd) {
    if (finished_) {
        return ok_;
    }
    finished_ = true;
    std::unique_lock lock(mutex_);
    while (!done_) {
        if (!cancelled_ && askedToEnd && askedToEnd()) {
            cancelled_ = true;
            if (pid_ > 0) {
                ::kill(pid_, SIGKILL);
            }
        }
        if (ended_.wait_for(lock, std::chrono::milliseconds(100), [this] { return done_; })) {
            break;
        }
        lock.unlock();
        QCoreApplication::processEvents();
        lock.lock();
    }
    lock.unlock();
    thread_.join();
    QFile::remove(target_);
    return ok_;
}

}  // namespace orvane
