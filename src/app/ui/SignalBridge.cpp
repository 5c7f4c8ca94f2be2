#include "app/ui/SignalBridge.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace orvane {

namespace {

int gSignalFd[2] = {-1, -1};
volatile std::sig_atomic_t gRequested = 0;

void OnSignal(int) {
    gRequested = 1;
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(gSignalFd[0], &c, 1);
}

}  // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalFd) != 0) {
        gSignalFd[0] = gSignalFd[1] = -1;  // the flag still records the request
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    if (gSignalFd[1] < 0) {
        return;
    }
    notifier_ = new QSocketNotifier(gSignalFd[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(gSignalFd[1], &c, 1);
        emit TerminationRequested();
    });
}

bool SignalBridge::Requested() {
    return gRequested != 0;
}

SignalBridge::~SignalBridge() {
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
}

}  // namespace orvane
