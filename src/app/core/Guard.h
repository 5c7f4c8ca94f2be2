#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <atomic>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace orvane {

// What the guard swallowed, at debug level: silent unless enabled
// (QT_LOGGING_RULES="orvane.guard.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcGuard)

// Runs a handler or a start-up step and swallows any exception it throws, keeping the state
// reached so far. Every swallowed exception is counted so that tests can assert that nothing
// was hidden, and logged through lcGuard. Safe on any thread.
class GuardLog {
public:
    static int Swallowed() { return count_.load(); }
    static void Reset() { count_.store(0); }
    static void Record(const char* what);

private:
    static inline std::atomic<int> count_{0};
};

template <class F>
void Guarded(F&& f) noexcept {
    try {
        f();
    } catch (const std::exception& e) {
        GuardLog::Record(e.what());
    } catch (...) {
        GuardLog::Record("an exception of unknown type");
    }
}

// Connects a signal to a handler of receiver that runs under the guard. The handler is a
// member function of the receiver, or any callable; it gets the signal's arguments when it
// takes them, and none otherwise. The connection ends with the receiver.
// True when a handler of receiver can be run with these arguments, or with none.
template <class Receiver, class Handler, class... Args>
constexpr bool kWireCallable =
    std::is_member_function_pointer_v<Handler>
        ? (std::is_invocable_v<Handler, Receiver*, Args...> || std::is_invocable_v<Handler, Receiver*>)
        : (std::is_invocable_v<Handler, Args...> || std::is_invocable_v<Handler>);

template <class Sender, class Signal, class Receiver, class Handler>
QMetaObject::Connection Wire(Sender* sender, Signal signal, Receiver* receiver, Handler handler) {
    return QObject::connect(
        sender, signal, receiver,
        [receiver, handler](auto&&... args) -> void
            requires kWireCallable<Receiver, Handler, decltype(args)...>
        {
            Guarded([&] {
                if constexpr (std::is_member_function_pointer_v<Handler>) {
                    if constexpr (std::is_invocable_v<Handler, Receiver*, decltype(args)...>) {
                        std::invoke(handler, receiver, std::forward<decltype(args)>(args)...);
                    } else {
                        std::invoke(handler, receiver);
                    }
                } else if constexpr (std::is_invocable_v<Handler, decltype(args)...>) {
                    handler(std::forward<decltype(args)>(args)...);
                } else {
                    handler();
                }
            });
        });
}

}  // namespace orvane
