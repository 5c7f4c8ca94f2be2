#include "sound/core/OutputOpener.h"

namespace orvane {

namespace {

// An output whose open has already been tried: Open() answers that result; the rest goes to it.
class OpenedOutput final : public AudioOutput {
  public:
    OpenedOutput(std::unique_ptr<AudioOutput> output, bool opened)
        : output_(std::move(output)), opened_(opened) {}
    ~OpenedOutput() override { output_->Stop(); }

    bool Open() override { return opened_; }
    void Start(AudioRenderer* renderer) override {
        if (opened_) {
            output_->Start(renderer);
        }
    }
    void Stop() override { output_->Stop(); }
    int SampleRate() const override { return output_->SampleRate(); }
    int BufferFrames() const override { return output_->BufferFrames(); }

  private:
    std::unique_ptr<AudioOutput> output_;
    const bool opened_;
};

}  // namespace

OutputOpener::OutputOpener(std::unique_ptr<AudioOutput> output) : output_(std::move(output)) {
    if (output_) {
        thread_ = std::thread([this] { opened_ = output_->Open(); });
    }
}

OutputOpener::~OutputOpener() {
    Wait();
    if (output_) {
        output_->Stop();
    }
}

void OutputOpener::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::unique_ptr<AudioOutput> OutputOpener::Take() {
    Wait();
    if (!output_) {
        return nullptr;
    }
    return std::make_unique<OpenedOutput>(std::move(output_), opened_);
}

}  // namespace orvane
