#pragma once

#include <chrono>
#include <cstdint>

namespace orvane {

// What an output calls, on its audio thread, for every buffer it needs.
class AudioRenderer {
  public:
    virtual ~AudioRenderer() = default;
    // Fills `out` with `frames` interleaved stereo float frames. `callbackTime` is the steady
    // time at which the output asked for this buffer. Must not lock, allocate, free or block.
    virtual void RenderAudio(float* out, int frames,
                             std::chrono::steady_clock::time_point callbackTime) = 0;
    // Called by an output that renders on demand, faster than real time, before it renders:
    // may block until every sound of a voice that was started is decoded, so that the render
    // sounds as a real-time one would. A real-time output never calls it.
    virtual void AwaitSounds() {}
};

// A stereo float sink that pulls buffers from a renderer at its own pace.
class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // Opens the output without starting it. False when no output could be opened ("no
    // device"); the output then never calls a renderer.
    virtual bool Open() = 0;
    // After a successful Open: starts pulling buffers from `renderer`, which must outlive Stop().
    virtual void Start(AudioRenderer* renderer) = 0;
    // Stops pulling and closes; when it returns, no call of the renderer runs or will run.
    // Idempotent.
    virtual void Stop() = 0;
    // Valid after a successful Open: frames per second and frames per buffer.
    virtual int SampleRate() const = 0;
    virtual int BufferFrames() const = 0;
};

// True on a thread while it runs an output's render call (the audio thread inside its
// callback). For allocation checks in tests and benchmarks.
bool InAudioCallback();

// Marks the current thread as running the render call for the scope's lifetime.
class AudioCallbackScope {
  public:
    AudioCallbackScope();
    ~AudioCallbackScope();
    AudioCallbackScope(const AudioCallbackScope&) = delete;
    AudioCallbackScope& operator=(const AudioCallbackScope&) = delete;

  private:
    bool previous_;
};

}  // namespace orvane
