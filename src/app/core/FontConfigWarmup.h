#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace orvane {

// Reads the system's font configuration (its configuration files and font caches) on a thread
// of its own, so that the first text the window lays out finds it loaded instead of reading it
// on the user-interface thread. The font library keeps one configuration per process and is
// safe to start from two threads at once; the window system's font database then uses it.
//
// Start it before anything else of the window system: the reading then runs beside the
// connection to the display, and the window's first text waits (Wait) for what is left of it
// instead of reading the same configuration a second time beside it. Once the application
// object exists (ApplicationReady), the same thread also fills the application's font database
// and looks up the application font with its fallbacks, which the window's first text would
// otherwise do; both are kept for the whole process.
//
// Threads: construct, call and destroy on one thread; the destructor waits for the thread.
class FontConfigWarmup {
  public:
    FontConfigWarmup();
    // Without ApplicationReady() the thread ends after the configuration.
    ~FontConfigWarmup();
    // Blocks until the configuration is read. Idempotent.
    void Wait();
    // The application object exists: the thread may go on to its font database.
    void ApplicationReady();
    FontConfigWarmup(const FontConfigWarmup&) = delete;
    FontConfigWarmup& operator=(const FontConfigWarmup&) = delete;

  private:
    enum class Next { kUndecided, kFontDatabase, kEnd };
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    bool configRead_ = false;
    Next next_ = Next::kUndecided;
    std::thread thread_;
};

}  // namespace orvane
