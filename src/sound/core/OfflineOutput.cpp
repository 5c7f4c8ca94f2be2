#include "sound/core/OfflineOutput.h"

#include <algorithm>

namespace orvane {

OfflineOutput::OfflineOutput(Options options) : options_(options) {
    options_.bufferFrames = std::max(1, options_.bufferFrames);
}

bool OfflineOutput::Open() {
    openTime_ = std::chrono::steady_clock::now();
    return options_.hasDevice;
}

void OfflineOutput::Start(AudioRenderer* renderer) {
    renderer_ = renderer;
}

void OfflineOutput::Stop() {
    renderer_ = nullptr;
}

void OfflineOutput::RenderInto(float* out, int frames, TimePoint callbackTime) {
    if (renderer_ != nullptr) {
        renderer_->RenderAudio(out, frames, callbackTime);
    } else {
        std::fill(out, out + 2 * frames, 0.0f);
    }
    frames_ += frames;
}

const std::vector<float>& OfflineOutput::Render(std::int64_t frames) {
    if (renderer_ != nullptr && frames > 0) {
        renderer_->AwaitSounds();
    }
    block_.resize(static_cast<std::size_t>(std::max<std::int64_t>(frames, 0) * 2));
    std::int64_t done = 0;
    while (done < frames) {
        const int n =
            static_cast<int>(std::min<std::int64_t>(options_.bufferFrames, frames - done));
        const auto offset = std::chrono::nanoseconds(frames_ * 1'000'000'000 / options_.sampleRate);
        RenderInto(block_.data() + 2 * done, n, openTime_ + offset);
        done += n;
    }
    if (keepAll_) {
        all_.insert(all_.end(), block_.begin(), block_.end());
    }
    return block_;
}

const std::vector<float>& OfflineOutput::RenderBuffer(int frames, TimePoint callbackTime) {
    block_.resize(static_cast<std::size_t>(std::max(frames, 0) * 2));
    if (frames > 0) {
        RenderInto(block_.data(), frames, callbackTime);
    }
    if (keepAll_) {
        all_.insert(all_.end(), block_.begin(), block_.end());
    }
    return block_;
}

}  // namespace orvane
