#pragma once

#include <QObject>

class QSocketNotifier;

namespace orvane {

// Turns SIGTERM and SIGINT into a signal of the user-interface thread, so that ending the
// desktop session closes the main window the way "Exit" does.
class SignalBridge : public QObject {
    Q_OBJECT

public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

signals:
    void TerminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace orvane
