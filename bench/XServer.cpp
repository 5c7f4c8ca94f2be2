#include "XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

extern char** environ;

namespace bench {

namespace {

// The environment of this process with the given entries replacing those of the same name.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& e : extra) {
            replaced = replaced || e.compare(0, name.size(), name) == 0;
        }
        if (!replaced) {
            result.push_back(text);
        }
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& t : texts) {
        result.push_back(t.data());
    }
    result.push_back(nullptr);
    return result;
}

pid_t Spawn(const std::string& program, std::vector<std::string> arguments,
            const std::vector<std::string>& environment, int displayFd, bool keepOutput) {
    arguments.insert(arguments.begin(), program);
    std::vector<std::string> env = MergedEnvironment(environment);
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!keepOutput) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    if (displayFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, displayFd, 3);
    }
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

}  // namespace

pid_t StartProcess(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment, bool keepOutput) {
    return Spawn(program, arguments, environment, -1, keepOutput);
}

int WaitProcess(pid_t pid) {
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int EndProcess(pid_t pid, std::chrono::milliseconds timeout) {
    if (pid <= 0) {
        return -1;
    }
    ::kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

XServer::XServer() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return;
    }
    // The server writes the display number it chose to descriptor 3 once it accepts clients.
    pid_ = Spawn("Xvfb",
                 {"-displayfd", "3", "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                  "-noreset"},
                 {}, fds[1], false);
    ::close(fds[1]);
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    while (pid_ > 0 && ::poll(&wait, 1, 10000) > 0) {
        char c = 0;
        if (::read(fds[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    ::close(fds[0]);
    if (!number.empty()) {
        display_ = ":" + number;
    }
}

XServer::~XServer() {
    if (pid_ > 0) {
        EndProcess(pid_, std::chrono::milliseconds(2000));
    }
}

MapWatcher::MapWatcher(const std::string& display) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    connection_ = c;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    const char name[] = "_NET_WM_NAME";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr), &std::free);
    netWmName_ = atom ? atom->atom : 0;
    xcb_flush(c);
}

MapWatcher::~MapWatcher() {
    if (connection_) {
        xcb_disconnect(connection_);
    }
}

std::string MapWatcher::Title(unsigned window) {
    std::string title;
    for (xcb_atom_t property : {xcb_atom_t(netWmName_), xcb_atom_t(XCB_ATOM_WM_NAME)}) {
        if (property == 0) {
            continue;
        }
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, window, property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                                   nullptr),
            &std::free);
        if (reply && xcb_get_property_value_length(reply.get()) > 0) {
            title.append(static_cast<const char*>(xcb_get_property_value(reply.get())),
                         static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
            title += '\n';
        }
    }
    return title;
}

std::optional<MapWatcher::Clock::time_point> MapWatcher::WaitForMapped(
    const std::string& titlePart, Clock::time_point deadline) {
    if (!connection_) {
        return std::nullopt;
    }
    const int fd = xcb_get_file_descriptor(connection_);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const auto seen = Clock::now();
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window =
                mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
            std::free(event);
            if (mapped && Title(window).find(titlePart) != std::string::npos) {
                return seen;
            }
        }
        if (xcb_connection_has_error(connection_)) {
            return std::nullopt;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd wait{fd, POLLIN, 0};
        ::poll(&wait, 1, static_cast<int>(left.count()));
    }
}

}  // namespace bench
