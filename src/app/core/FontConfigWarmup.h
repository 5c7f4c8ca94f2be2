#pragma once

#include <thread>

namespace orvane {

// Reads the system's font configuration (its configuration files and font caches) on a thread
// of its own, so that the first text the window lays out finds it loaded instead of reading it
// on the user-interface thread. The font library keeps one configuration per process and is
// safe to start from two threads at once; the window system's font database then uses it.
//
// Threads: construct and destroy on one thread; the destructor waits for the reading to end.
class FontConfigWarmup {
  public:
    FontConfigWarmup();
    ~FontConfigWarmup();
    FontConfigWarmup(const FontConfigWarmup&) = delete;
    FontConfigWarmup& operator=(const FontConfigWarmup&) = delete;

  private:
    std::thread thread_;
};

}  // namespace orvane
