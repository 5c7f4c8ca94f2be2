#include "app/ui/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <unistd.h>
#include <algorithm>

namespace orvane {

namespace {
constexpr const char* kRaise = "raise\n";
}

QString SingleInstance::ServerName(const QString& key) {
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("orvane-%1-%2").arg(QString::fromLatin1(hash)).arg(getuid());
}

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), name_(ServerName(key)) {}

SingleInstance::~SingleInstance() {
    if (server_) {
        server_->close();
    }
    if (lock_) {
        lock_->unlock();
    }
}

bool SingleInstance::Claim() {
    lock_ = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")));
    lock_->setStaleLockTime(0);  // only a lock whose process is gone is stale
    return lock_->tryLock(0);
}

bool SingleInstance::AskRunningCopy(int timeoutMs) {
    // The first copy may be between its claim and its listening: try again until the time is up.
    QElapsedTimer timer;
    timer.start();
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name_);
        if (socket.waitForConnected(std::max<qint64>(1, std::min<qint64>(500, timeoutMs - timer.elapsed())))) {
            break;
        }
        socket.abort();
        if (timer.elapsed() >= timeoutMs) {
            return false;
        }
        QThread::msleep(50);
    }
    socket.write(kRaise);
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen(std::function<void()> onRaise) {
    onRaise_ = std::move(onRaise);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A copy that ended without closing leaves its socket behind.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) {
            return false;
        }
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->readAll().contains("raise") && onRaise_) {
                    onRaise_();
                }
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

}  // namespace orvane
