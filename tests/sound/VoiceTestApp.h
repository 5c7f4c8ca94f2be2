#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <functional>

namespace orvane::test {

// The one application object of the test program (offscreen), created on first use on the
// thread that runs the tests, which is therefore the user-interface thread. It is never
// destroyed: destroyed among the exit handlers it would outlive the globals of Qt it uses.
inline void EnsureGuiApp() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "sound_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

// Serves events until done() holds or 10 s have passed; returns done().
inline bool ServeEventsUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

}  // namespace orvane::test
