#include "sound/core/PacedOutput.h"

#include <chrono>

namespace orvane {

PacedOutput::PacedOutput(int sampleRate, int bufferFrames)
    : sampleRate_(sampleRate > 0 ? sampleRate : 48000), bufferFrames_(bufferFrames > 0 ? bufferFrames : 128) {}

PacedOutput::~PacedOutput() {
    Stop();
}

void PacedOutput::Start(AudioRenderer* renderer) {
    if (running_ || !renderer) {
        return;
    }
    running_ = true;
    thread_ = std::thread([this, renderer] { Run(renderer); });
}

void PacedOutput::Stop() {
    running_ = false;
    if (thread_.joinable()) {
        thread_.join();
    }
}

void PacedOutput::Run(AudioRenderer* renderer) {
    using namespace std::chrono;
    std::vector<float> buffer(std::size_t(bufferFrames_) * 2);
    const auto start = steady_clock::now();
    for (std::int64_t n = 0; running_; ++n) {
        const auto due = start + duration_cast<steady_clock::duration>(
                                     duration<double>(double(n) * bufferFrames_ / sampleRate_));
        std::this_thread::sleep_until(due);
        AudioCallbackScope scope;
        renderer->RenderAudio(buffer.data(), bufferFrames_, due);
    }
}

}  // namespace orvane
