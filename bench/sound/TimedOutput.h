#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "sound/core/AudioOutput.h"

namespace bench {

// A real output whose buffers are timed: each buffer's first frame and the time the output
// asked for it are kept (at most `maxBuffers` of them), so that any frame can be turned into
// the time it was mixed. Frames are counted from the first buffer, as the engine counts them.
class TimedOutput final : public orvane::AudioOutput, private orvane::AudioRenderer {
public:
    using Clock = std::chrono::steady_clock;

    TimedOutput(std::unique_ptr<orvane::AudioOutput> inner, std::size_t maxBuffers)
        : inner_(std::move(inner)), buffers_(maxBuffers) {}
    ~TimedOutput() override { Stop(); }

    bool Open() override { return inner_->Open(); }
    void Start(orvane::AudioRenderer* renderer) override {
        renderer_ = renderer;
        inner_->Start(this);
    }
    void Stop() override { inner_->Stop(); }
    int SampleRate() const override { return inner_->SampleRate(); }
    int BufferFrames() const override { return inner_->BufferFrames(); }

    // The time at which `frame` was mixed, or nothing when it has not been (or was not kept).
    std::optional<Clock::time_point> TimeOfFrame(std::int64_t frame) const {
        const std::size_t count = std::min(kept_.load(), buffers_.size());
        const auto end = buffers_.begin() + static_cast<std::ptrdiff_t>(count);
        auto it = std::upper_bound(buffers_.begin(), end, frame,
                                   [](std::int64_t f, const Buffer& b) { return f < b.first; });
        if (it == buffers_.begin() || frame >= rendered_.load()) {
            return std::nullopt;
        }
        --it;
        return it->asked + std::chrono::nanoseconds((frame - it->first) * 1'000'000'000 /
                                                    inner_->SampleRate());
    }

private:
    struct Buffer {
        std::int64_t first = 0;
        Clock::time_point asked;
    };

    void RenderAudio(float* out, int frames, Clock::time_point callbackTime) override {
        const std::size_t index = kept_.load(std::memory_order_relaxed);
        if (index < buffers_.size()) {
            buffers_[index] = {rendered_.load(std::memory_order_relaxed), callbackTime};
            kept_.store(index + 1, std::memory_order_release);
        }
        renderer_->RenderAudio(out, frames, callbackTime);
        rendered_.fetch_add(frames, std::memory_order_release);
    }

    std::unique_ptr<orvane::AudioOutput> inner_;
    orvane::AudioRenderer* renderer_ = nullptr;
    std::vector<Buffer> buffers_;
    std::atomic<std::size_t> kept_{0};
    std::atomic<std::int64_t> rendered_{0};
};

}  // namespace bench
