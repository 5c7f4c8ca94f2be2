#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "sound/core/AudioOutput.h"

namespace orvane {

// The sound through a running JACK server: a client with two audio output ports ("out_1",
// "out_2") that the server's process cycle pulls, connected to the system's first two playback
// ports when there are any. A JACK server owns the sound card while it runs, so this is how the
// program sounds then; it also puts the mixer into the same cycle that delivers JACK MIDI, one
// period (e.g. 64 frames, 1.3 ms) instead of a device buffer on top of it.
//
// The sample rate and the buffer are the server's. Never starts a server (JackNoStartServer):
// Open() fails when none runs. When the server goes away the output falls silent, as a device
// that was unplugged; the engine is not told.
//
// Threads: Open, Start and Stop on one thread (the owner's); the renderer is called on the
// server's process thread, in chunks of at most kChunkFrames.
class JackOutput final : public AudioOutput {
  public:
    static constexpr int kChunkFrames = 1024;

    explicit JackOutput(std::string clientName = "Orvane");
    ~JackOutput() override;
    JackOutput(const JackOutput&) = delete;
    JackOutput& operator=(const JackOutput&) = delete;

    bool Open() override;
    void Start(AudioRenderer* renderer) override;
    void Stop() override;
    int SampleRate() const override { return sampleRate_; }
    int BufferFrames() const override { return bufferFrames_; }

    // The full names of the two output ports ("<client>:out_1", ...), empty before Open().
    std::vector<std::string> PortNames() const;

  private:
    static int Process(jack_nframes_t frames, void* self);
    static int BufferSizeChanged(jack_nframes_t frames, void* self);
    static void ShutDown(void* self);
    void ConnectToPlayback();
    void Close();

    std::string clientName_;
    jack_client_t* client_ = nullptr;
    jack_port_t* ports_[2] = {nullptr, nullptr};
    int sampleRate_ = 0;
    std::atomic<int> bufferFrames_{0};
    bool active_ = false;
    std::atomic<bool> serverGone_{false};
    AudioRenderer* renderer_ = nullptr;
    std::vector<float> interleaved_;  // kChunkFrames stereo frames, sized at Open()
};

}  // namespace orvane
