#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace orvane {

// Keeps one running copy of the program per user, keyed by the application title. The first
// copy claims a lock file and listens before its start-up sequence; a later one, whenever it
// starts, finds the claim, asks the first to come forward and then ends itself. The lock file
// and the socket live in the temporary folder ($TMPDIR or /tmp).
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
    // Starts listening; onRaise runs whenever a later copy asks.
    bool Listen(std::function<void()> onRaise);

    static QString ServerName(const QString& key);

private:
    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<void()> onRaise_;
};

}  // namespace orvane
