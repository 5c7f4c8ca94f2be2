#pragma once

namespace orvane {

// Phase times of the program's start, for finding where a start spends its time. Silent unless
// the environment variable ORVANE_STARTUP_TRACE is set to a non-empty value; then every mark
// writes one line to stderr: the wall-clock milliseconds since the first mark (the program
// entry), the processor milliseconds the whole process has used since it was executed (loading
// and relocating the libraries included), the processor milliseconds of the calling thread
// alone (the window is built on it; other threads, such as the sound device's opener, run beside
// it) and the phase's name. User-interface thread only.
class StartupTrace {
public:
    static void Mark(const char* phase);
    // The phase's name followed by a number (a step of a numbered sequence).
    static void Mark(const char* phase, int number);
    static bool Enabled();
};

}  // namespace orvane
