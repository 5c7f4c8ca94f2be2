#include "sound/core/SystemOutput.h"

#include "sound/core/JackOutput.h"
#include "sound/core/SdlOutput.h"

namespace orvane {

SystemOutput::SystemOutput(std::unique_ptr<AudioOutput> jack, std::unique_ptr<AudioOutput> card)
    : jack_(std::move(jack)), card_(std::move(card)) {}

SystemOutput::SystemOutput()
    : SystemOutput(std::make_unique<JackOutput>(), std::make_unique<SdlOutput>()) {}

SystemOutput::~SystemOutput() {
    Stop();
}

bool SystemOutput::Open() {
    if (chosen_) {
        return true;
    }
    for (AudioOutput* output : {jack_.get(), card_.get()}) {
        if (output && output->Open()) {
            chosen_ = output;
            return true;
        }
    }
    return false;
}

void SystemOutput::Start(AudioRenderer* renderer) {
    if (chosen_) {
        chosen_->Start(renderer);
    }
}

void SystemOutput::Stop() {
    if (chosen_) {
        chosen_->Stop();
    }
}

int SystemOutput::SampleRate() const {
    return chosen_ ? chosen_->SampleRate() : 0;
}

int SystemOutput::BufferFrames() const {
    return chosen_ ? chosen_->BufferFrames() : 0;
}

}  // namespace orvane
