#include "app/ui/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvane {

namespace {

constexpr char kRaise[] = "raise\n";

// The address of a local socket at `path`; false when the path does not fit.
bool Address(const QString& path, sockaddr_un& address) {
    const QByteArray encoded = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || std::size_t(encoded.size()) >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, encoded.constData(), std::size_t(encoded.size()));
    return true;
}

// Connects to the socket at `path` at once; a descriptor, or -1 when nobody listens there.
int ConnectTo(const QString& path) {
    sockaddr_un address{};
    if (!Address(path, address)) {
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    int result = 0;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

QString SingleInstance::ServerName(const QString& key) {
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("orvane-%1-%2").arg(QString::fromLatin1(hash)).arg(getuid());
}

QString SingleInstance::SocketPath(const QString& key) {
    return QDir(QDir::tempPath()).filePath(ServerName(key));
}

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent),
      name_(ServerName(key)),
      socketPath_(SocketPath(key)),
      lockPath_(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock"))) {}

SingleInstance::~SingleInstance() {
    while (!clients_.empty()) {
        CloseClient(clients_.begin()->first);
    }
    if (server_ >= 0) {
        delete serverNotifier_;
        ::close(server_);
        QFile::remove(socketPath_);
    }
    if (lockFd_ >= 0) {
        // Removed while still locked: a copy that opened it meanwhile fails to lock it, and one
        // that locks it after the close sees that it is no longer the file at the path.
        QFile::remove(lockPath_);
        ::close(lockFd_);
    }
}

bool SingleInstance::Claim() {
    if (lockFd_ >= 0) {
        return true;
    }
    const QByteArray path = QFile::encodeName(lockPath_);
    for (;;) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            return false;
        }
        int locked = 0;
        do {
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            ::close(fd);
            return false;  // a living copy holds it
        }
        // The file may have been removed by the copy that held it just before this lock was
        // taken; then this lock guards nothing and the claim starts again on the file now there.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            lockFd_ = fd;
            return true;
        }
        ::close(fd);
    }
}

bool SingleInstance::AskRunningCopy(int timeoutMs) {
    // The first copy may be between its claim and its listening: try again until the time is up.
    QElapsedTimer timer;
    timer.start();
    int fd = -1;
    while ((fd = ConnectTo(socketPath_)) < 0) {
        if (timer.elapsed() >= timeoutMs) {
            return false;
        }
        QThread::msleep(std::clamp<qint64>(timeoutMs - timer.elapsed(), 1, 50));
    }
    const char* rest = kRaise;
    std::size_t left = sizeof kRaise - 1;
    while (left > 0) {
        const ssize_t n = ::send(fd, rest, left, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        rest += n;
        left -= std::size_t(n);
    }
    ::close(fd);
    return left == 0;
}

bool SingleInstance::Listen(std::function<void()> onRaise) {
    onRaise_ = std::move(onRaise);
    sockaddr_un address{};
    if (server_ >= 0 || !Address(socketPath_, address)) {
        return server_ >= 0;
    }
    server_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (server_ < 0) {
        return false;
    }
    const auto bindSocket = [&] {
        return ::bind(server_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    };
    // A copy that ended without closing leaves its socket behind; the claim says it is dead.
    if (!bindSocket() &&
        !(errno == EADDRINUSE && ::unlink(address.sun_path) == 0 && bindSocket())) {
        ::close(server_);
        server_ = -1;
        return false;
    }
    ::chmod(address.sun_path, S_IRUSR | S_IWUSR | S_IXUSR);
    if (::listen(server_, 8) != 0) {
        ::close(server_);
        server_ = -1;
        QFile::remove(socketPath_);
        return false;
    }
    serverNotifier_ = new QSocketNotifier(server_, QSocketNotifier::Read, this);
    connect(serverNotifier_, &QSocketNotifier::activated, this, [this] { AcceptPending(); });
    return true;
}

void SingleInstance::AcceptPending() {
    for (;;) {
        const int fd = ::accept4(server_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;  // nothing more waiting (or a failed connection, which is dropped)
        }
        Client& client = clients_[fd];
        client.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(client.notifier, &QSocketNotifier::activated, this, [this, fd] { ReadClient(fd); });
    }
}

void SingleInstance::ReadClient(int fd) {
    const auto found = clients_.find(fd);
    if (found == clients_.end()) {
        return;
    }
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            QByteArray& received = found->second.received;
            received.append(buffer, n);
            if (received.contains("raise")) {
                received.clear();
                if (onRaise_) {
                    onRaise_();
                }
            } else if (received.size() > 64) {
                received.remove(0, received.size() - 8);  // no request is that long: keep the tail
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;  // the rest comes later
        }
        CloseClient(fd);  // the other copy is done (or the connection failed)
        return;
    }
}

void SingleInstance::CloseClient(int fd) {
    const auto found = clients_.find(fd);
    if (found == clients_.end()) {
        return;
    }
    delete found->second.notifier;
    clients_.erase(found);
    ::close(fd);
}

}  // namespace orvane
