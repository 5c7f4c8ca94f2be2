#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace orvane {

// Keeps one running copy of the program per user, keyed by the application title. The first
// copy claims a lock file and listens before its start-up sequence; a later one, whenever it
// starts, finds the claim, asks the first to come forward and then ends itself. The lock file
// and the socket (a local stream socket, owner access only) live in the temporary folder
// ($TMPDIR or /tmp). The claim is an advisory lock on the lock file, which the system drops when
// its process ends in any way; nothing is written or flushed to the disk for it.
// User-interface thread only.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this copy holds the claim (kept until destruction); false when another living
    // copy holds it. A claim left by a copy that died is taken over.
    bool Claim();
    // True when another copy answered within timeoutMs and was asked to come forward.
    bool AskRunningCopy(int timeoutMs = 500);
    // Starts listening (the claim must be held: a socket left behind is replaced); onRaise runs
    // from the event loop whenever a later copy asks.
    bool Listen(std::function<void()> onRaise);

    static QString ServerName(const QString& key);
    // The socket's path: ServerName in the temporary folder.
    static QString SocketPath(const QString& key);

private:
    void AcceptPending();
    void ReadClient(int fd);
    void CloseClient(int fd);

    QString name_;
    QString socketPath_;
    QString lockPath_;
    int lockFd_ = -1;  // open and locked while the claim is held
    int server_ = -1;
    QSocketNotifier* serverNotifier_ = nullptr;
    struct Client {
        QSocketNotifier* notifier = nullptr;
        QByteArray received;
    };
    std::map<int, Client> clients_;
    std::function<void()> onRaise_;
};

}  // namespace orvane
