#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace orvane {

// Keeps one running copy of the program per user, keyed by the application title. The first
// copy listens; a later one asks it to come forward and then ends itself.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy answered and was asked to come forward: this copy should end.
    bool AskRunningCopy();
    // Starts listening; onRaise runs whenever a later copy asks.
    bool Listen(std::function<void()> onRaise);

    static QString ServerName(const QString& key);

private:
    QString name_;
    QLocalServer* server_ = nullptr;
    std::function<void()> onRaise_;
};

}  // namespace orvane
