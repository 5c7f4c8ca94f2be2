#pragma once

#include <memory>

#include "sound/core/AudioOutput.h"

namespace orvane {

// The program's sound output: through a JACK server while one runs when the output is opened
// (the server then owns the sound card, and JACK MIDI and the mix share its cycle), otherwise
// the sound card through SDL, as on any machine without JACK. The choice is made once, by
// Open(); a JACK server that cannot take a client leaves the choice to SDL.
class SystemOutput final : public AudioOutput {
  public:
    // The outputs to choose from; either may be null (never chosen).
    SystemOutput(std::unique_ptr<AudioOutput> jack, std::unique_ptr<AudioOutput> card);
    // JackOutput and SdlOutput.
    SystemOutput();
    ~SystemOutput() override;

    bool Open() override;
    void Start(AudioRenderer* renderer) override;
    void Stop() override;
    int SampleRate() const override;
    int BufferFrames() const override;

    // After Open(): whether the JACK server was chosen.
    bool ThroughJack() const { return chosen_ && chosen_ == jack_.get(); }

  private:
    std::unique_ptr<AudioOutput> jack_;
    std::unique_ptr<AudioOutput> card_;
    AudioOutput* chosen_ = nullptr;
};

}  // namespace orvane
