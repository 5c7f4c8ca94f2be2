#pragma once

#include <QObject>

class QSocketNotifier;

namespace orvane {

// Turns SIGTERM and SIGINT into a signal of the user-interface thread, so that ending the
// desktop session closes the main window the way "Exit" does. Made first thing in the program,
// so that a request to end is never lost: Requested() tells, at any moment of the start-up,
// whether one has arrived (the signal itself is only delivered while events are served).
class SignalBridge : public QObject {
    Q_OBJECT

public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

    // True once SIGTERM or SIGINT has arrived while a bridge existed.
    static bool Requested();

signals:
    void TerminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace orvane
