#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace bench {

// A virtual X server of the benchmark's own (Xvfb, 1280 x 800 x 24) on a display number that
// the server picks itself among the free ones. Ended when the object goes.
class XServer {
  public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":N", or empty when the server could not be started.
    const std::string& Display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

// Watches the top-level windows of an X display being mapped.
class MapWatcher {
  public:
    using Clock = std::chrono::steady_clock;

    explicit MapWatcher(const std::string& display);
    ~MapWatcher();
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    bool Connected() const { return connection_ != nullptr; }
    // Waits until a top-level window whose title contains titlePart is mapped, and gives the
    // time at which the map was seen; nothing when the deadline passes first.
    std::optional<Clock::time_point> WaitForMapped(const std::string& titlePart,
                                                   Clock::time_point deadline);

  private:
    std::string Title(unsigned window);
    xcb_connection_t* connection_ = nullptr;
    unsigned netWmName_ = 0;
};

// Starts a program with extra environment entries ("NAME=value", replacing those of the same
// name), its output going to /dev/null unless keepOutput; -1 when it cannot be started.
pid_t StartProcess(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment, bool keepOutput = false);

// Waits for the process to end by itself; its exit code, or -1 when it did not exit normally.
int WaitProcess(pid_t pid);

// Asks the process to end (SIGTERM), waits up to timeout, then kills it; its exit status, or
// -1 when it had to be killed.
int EndProcess(pid_t pid, std::chrono::milliseconds timeout);

}  // namespace bench
