#pragma once

#include <SDL.h>

#include <vector>

#include "sound/core/AudioOutput.h"
#include "sound/core/SdlLibrary.h"

namespace orvane {

// The sound card through the SDL audio subsystem: the default device, stereo, 48 kHz (or the
// device's own rate when it offers no other), float or 16-bit samples.
//
// Buffer: 128 frames (2.7 ms at 48 kHz). A key strike waits for at most one buffer before its
// first sample is mixed, plus the device's own queue of about two buffers, about 8 ms in all;
// 256 frames would already give about 16 ms. Smaller buffers than 128 risk underruns on a
// loaded desktop for little gain.
//
// ALSA's own error printing is silenced before SDL starts, so a machine without a card stays
// quiet. When no device opens (no card, no sound server, no sound library), Open() fails and the
// engine rejects every command. The sound library is loaded by the first Open() (SdlLibrary).
class SdlOutput final : public AudioOutput {
  public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kBufferFrames = 128;

    explicit SdlOutput(int bufferFrames = kBufferFrames);
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    bool Open() override;
    void Start(AudioRenderer* renderer) override;
    void Stop() override;
    int SampleRate() const override { return obtained_.freq; }
    int BufferFrames() const override { return obtained_.samples; }
    // True when the device takes float samples, false for 16-bit.
    bool IsFloat() const { return obtained_.format == AUDIO_F32SYS; }

  private:
    static void Callback(void* user, Uint8* stream, int length);
    void Fill(Uint8* stream, int length);
    bool OpenDevice(int allowedChanges);

    int requestedFrames_;
    const SdlLibrary* sdl_ = nullptr;  // set by the first Open() that finds the library
    bool subsystemUp_ = false;
    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec obtained_{};
    AudioRenderer* renderer_ = nullptr;
    // Set by the callback thread once it has raised its own priority; cleared by Open() while no
    // callback runs.
    bool priorityRaised_ = false;
    std::vector<float> scratch_;  // float mix for 16-bit devices, sized at Open()
};

}  // namespace orvane
