#pragma once

#include <memory>
#include <thread>

#include "sound/core/AudioOutput.h"

namespace orvane {

// Opens an audio output on a thread of its own, from construction on, so that the sound device
// (and the libraries behind it) is made ready while the program builds its window.
//
// Take() waits for that open to end and hands the output over wrapped so that its Open()
// answers the result at once, without opening again: an engine built on it has a device exactly
// when the early open found one, and nothing can be played before the open has ended.
//
// Threads: construct, Take() and destroy on one thread (the UI thread); the output's Open()
// runs on the opener's thread, and Take() returns only after it has returned.
class OutputOpener {
  public:
    explicit OutputOpener(std::unique_ptr<AudioOutput> output);
    // Waits for the open; an output never taken is stopped and released here.
    ~OutputOpener();
    OutputOpener(const OutputOpener&) = delete;
    OutputOpener& operator=(const OutputOpener&) = delete;

    // The opened (or failed) output on the first call, nullptr on later calls.
    std::unique_ptr<AudioOutput> Take();

  private:
    void Wait();

    std::unique_ptr<AudioOutput> output_;
    bool opened_ = false;  // written by the opener's thread, read after it is joined
    std::thread thread_;
};

}  // namespace orvane
