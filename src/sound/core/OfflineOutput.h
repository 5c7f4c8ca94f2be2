#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "sound/core/AudioOutput.h"

namespace orvane {

// An output that renders only when asked, at full speed, on the thread that asks (which then
// acts as the audio thread). Time advances by exactly the frames rendered. For tests and
// benchmarks.
class OfflineOutput final : public AudioOutput {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Options {
        int sampleRate = 48000;
        int bufferFrames = 128;
        bool hasDevice = true;  // false: Open() fails, as without a sound card
    };

    OfflineOutput() : OfflineOutput(Options{}) {}
    explicit OfflineOutput(Options options);

    bool Open() override;
    void Start(AudioRenderer* renderer) override;
    void Stop() override;
    int SampleRate() const override { return options_.sampleRate; }
    int BufferFrames() const override { return options_.bufferFrames; }

    // Renders exactly `frames` frames as consecutive buffers of BufferFrames() frames (the last
    // one may be shorter) and returns their interleaved stereo samples, valid until the next
    // call. The callback time of a buffer is the time of Open() plus its first frame at the
    // nominal rate. Without a started renderer the frames are silent. Not real time: first
    // waits until the sounds of started voices are decoded.
    const std::vector<float>& Render(std::int64_t frames);
    // Renders one buffer of `frames` frames reported as asked for at `callbackTime`, as a
    // real-time output does (without waiting for any decode).
    const std::vector<float>& RenderBuffer(int frames, TimePoint callbackTime);

    // When on, every rendered sample is also appended to AllSamples().
    void SetKeepAll(bool keep) { keepAll_ = keep; }
    const std::vector<float>& AllSamples() const { return all_; }
    std::int64_t FramesRendered() const { return frames_; }
    TimePoint OpenTime() const { return openTime_; }

  private:
    void RenderInto(float* out, int frames, TimePoint callbackTime);

    Options options_;
    AudioRenderer* renderer_ = nullptr;
    TimePoint openTime_{};
    std::int64_t frames_ = 0;
    bool keepAll_ = false;
    std::vector<float> block_;
    std::vector<float> all_;
};

}  // namespace orvane
