#pragma once

#include <thread>

namespace orvane {

// Reads the system's font configuration (its configuration files and font caches) on a thread
// of its own, so that the first text the window lays out finds it loaded instead of reading it
// on the user-interface thread. The font library keeps one configuration per process and is
// safe to start from two threads at once; the window system's font database then uses it.
//
// Start it before anything else of the window system: the reading then runs beside the
// connection to the display, and the window's first text waits (Wait) for what is left of it
// instead of reading the same configuration a second time beside it.
//
// Threads: construct, wait and destroy on one thread; the destructor waits for the reading to
// end.
class FontConfigWarmup {
  public:
    FontConfigWarmup();
    ~FontConfigWarmup();
    // Blocks until the configuration is read. Idempotent.
    void Wait();
    FontConfigWarmup(const FontConfigWarmup&) = delete;
    FontConfigWarmup& operator=(const FontConfigWarmup&) = delete;

  private:
    std::thread thread_;
};

}  // namespace orvane
