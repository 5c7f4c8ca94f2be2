#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace bench {

// Keeps `count` child processes busy-looping at normal priority for its lifetime, so that a
// figure is measured while other work competes for the cores.
class BusyLoad {
public:
    explicit BusyLoad(int count) {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                volatile unsigned long spin = 0;
                for (;;) {
                    spin = spin + 1;
                }
            }
            if (pid > 0) {
                children_.push_back(pid);
            }
        }
    }
    ~BusyLoad() {
        for (const pid_t pid : children_) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    BusyLoad(const BusyLoad&) = delete;
    BusyLoad& operator=(const BusyLoad&) = delete;

private:
    std::vector<pid_t> children_;
};

}  // namespace bench
