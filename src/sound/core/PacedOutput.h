#pragma once

#include "sound/core/AudioOutput.h"

#include <atomic>
#include <thread>
#include <vector>

namespace orvane {

// A silent output that keeps real time: its own thread asks for a buffer every buffer period
// on the steady clock (sleeping until each buffer is due) and discards the samples. The engine
// then runs, and its clock follows the steady clock exactly, where no sound device exists (the
// program's environment variable ORVANE_SILENT_OUTPUT asks for it; without it the program uses
// the sound device). The callback time of buffer n is the start time + n buffer periods.
class PacedOutput final : public AudioOutput {
  public:
    explicit PacedOutput(int sampleRate = 48000, int bufferFrames = 128);
    ~PacedOutput() override;

    bool Open() override { return true; }
    void Start(AudioRenderer* renderer) override;
    void Stop() override;
    int SampleRate() const override { return sampleRate_; }
    int BufferFrames() const override { return bufferFrames_; }

  private:
    void Run(AudioRenderer* renderer);

    int sampleRate_;
    int bufferFrames_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

}  // namespace orvane
