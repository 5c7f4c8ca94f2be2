#include "sound/core/StepSequencer.h"

#include <algorithm>
#include <cmath>

#include "sound/core/VolumeControl.h"

namespace orvane {

StepSequencer::StepSequencer(int sampleRate)
    : sampleRate_(sampleRate), intervalFrames_(std::int64_t{144} * sampleRate / 1000) {}

bool StepSequencer::Send(Command command) {
    return commands_.Push(command);
}

bool StepSequencer::Load(const SequencePlan* plan, std::uint64_t serial) {
    return Send({Command::Kind::kLoad, plan, serial, 0});
}

bool StepSequencer::QueueNext(const SequencePlan* plan, std::uint64_t serial, bool holdOn) {
    return Send({Command::Kind::kQueueNext, plan, serial, holdOn ? 1 : 0});
}

bool StepSequencer::Replace(const SequencePlan* plan, std::uint64_t serial) {
    return Send({Command::Kind::kReplace, plan, serial, 0});
}

bool StepSequencer::PlayAt(std::int64_t frame) {
    return Send({Command::Kind::kPlayAt, nullptr, 0, 0, frame});
}

bool StepSequencer::SetIntervalFrom(int milliseconds, std::int64_t frame) {
    return Send({Command::Kind::kIntervalFrom, nullptr, 0, milliseconds, frame});
}

bool StepSequencer::Play() {
    return Send({Command::Kind::kPlay, nullptr, 0, 0});
}

bool StepSequencer::Pause() {
    return Send({Command::Kind::kPause, nullptr, 0, 0});
}

bool StepSequencer::Stop() {
    return Send({Command::Kind::kStop, nullptr, 0, 0});
}

bool StepSequencer::SetPosition(int position) {
    return Send({Command::Kind::kPosition, nullptr, 0, position});
}

bool StepSequencer::SetInterval(int milliseconds) {
    return Send({Command::Kind::kInterval, nullptr, 0, milliseconds});
}

bool StepSequencer::SetGroups(bool small, bool middle, bool great) {
    return Send(
        {Command::Kind::kGroups, nullptr, 0, (small ? 1 : 0) | (middle ? 2 : 0) | (great ? 4 : 0)});
}

bool StepSequencer::SetEnd(ChimeEnd end) {
    return Send({Command::Kind::kEnd, nullptr, 0, static_cast<std::int64_t>(end)});
}

void StepSequencer::Apply(const Command& command, std::int64_t chunkStart) {
    switch (command.kind) {
        case Command::Kind::kLoad:
            plan_ = command.plan;
            planSerial_ = command.serial;
            currentSerial_.store(planSerial_, std::memory_order_release);
            running_ = false;
            stepZeroDue_ = false;
            position_0_ = 0;
            holding_ = false;
            break;
        case Command::Kind::kQueueNext:
            next_ = command.plan;
            nextSerial_ = command.serial;
            nextHolds_ = command.value != 0;
            holding_ = false;
            break;
        case Command::Kind::kReplace:
            plan_ = command.plan;
            planSerial_ = command.serial;
            currentSerial_.store(planSerial_, std::memory_order_release);
            if (plan_ == nullptr || plan_->steps.empty()) {
                running_ = false;
                stepZeroDue_ = false;
                position_0_ = 0;
            }
            break;
        case Command::Kind::kPlay:
        case Command::Kind::kPlayAt: {
            if (running_ || plan_ == nullptr || plan_->steps.empty()) {
                break;
            }
            const std::int64_t start = command.kind == Command::Kind::kPlayAt
                                           ? std::max(command.frame, chunkStart)
                                           : chunkStart;
            running_ = true;
            if (position_0_ == 0) {
                // Step 0 at once; the first tick one interval later plays step 1.
                stepZeroDue_ = true;
                nextFrame_ = start;
            } else {
                nextFrame_ = start + intervalFrames_;
            }
            break;
        }
        case Command::Kind::kPause:
            running_ = false;
            stepZeroDue_ = false;
            break;
        case Command::Kind::kStop:
            running_ = false;
            stepZeroDue_ = false;
            position_0_ = 0;
            break;
        case Command::Kind::kPosition:
            position_0_ = static_cast<int>(std::max<std::int64_t>(command.value, 0));
            break;
        case Command::Kind::kInterval: {
            const std::int64_t frames =
                std::max<std::int64_t>(1, command.value * sampleRate_ / 1000);
            intervalFrames_ = frames;
            if (running_ && !stepZeroDue_) {
                // The grid goes on from the last step at the new interval.
                nextFrame_ = lastFrame_ >= 0 ? std::max(lastFrame_ + frames, chunkStart)
                                             : chunkStart + frames;
            }
            break;
        }
        case Command::Kind::kIntervalFrom: {
            const std::int64_t frames =
                std::max<std::int64_t>(1, command.value * sampleRate_ / 1000);
            intervalFrames_ = frames;
            if (running_ && !stepZeroDue_) {
                nextFrame_ = std::max(command.frame + frames, chunkStart);
            }
            break;
        }
        case Command::Kind::kGroups:
            for (int g = 0; g < kGroups; ++g) {
                groups_[g] = (command.value & (1 << g)) != 0;
            }
            break;
        case Command::Kind::kEnd:
            end_ = static_cast<ChimeEnd>(command.value);
            break;
    }
    playing_.store(running_, std::memory_order_release);
    position_.store(position_0_, std::memory_order_release);
}

int StepSequencer::BeforeChunk(Mixer& mixer, std::int64_t chunkStart, int frames) {
    Command command;
    while (commands_.Pop(command)) {
        Apply(command, chunkStart);
    }
    while (running_) {
        if (nextFrame_ > chunkStart) {
            // The chunk ends where the next step begins, so that it starts a chunk.
            const std::int64_t until = nextFrame_ - chunkStart;
            PublishPlanInUse(mixer);
            return static_cast<int>(std::min<std::int64_t>(until, frames));
        }
        if (nextFrame_ < chunkStart) {
            lateSteps_.fetch_add(1, std::memory_order_relaxed);
        }
        const std::int64_t frame = chunkStart;
        const bool advance = !stepZeroDue_;
        stepZeroDue_ = false;
        nextFrame_ = std::max(nextFrame_, chunkStart) + intervalFrames_;
        Tick(mixer, frame, advance);
    }
    PublishPlanInUse(mixer);
    return frames;
}

void StepSequencer::Tick(Mixer& mixer, std::int64_t frame, bool advance) {
    if (advance) {
        ++position_0_;
    }
    const int last = static_cast<int>(plan_->steps.size()) - 1;
    if (position_0_ > last) {
        switch (end_) {
            case ChimeEnd::kStop:
                running_ = false;
                position_0_ = 0;
                playing_.store(false, std::memory_order_release);
                position_.store(0, std::memory_order_release);
                ends_.fetch_add(1, std::memory_order_release);
                return;
            case ChimeEnd::kRepeat:
                break;
            case ChimeEnd::kNextPlan:
                if ((next_ == nullptr || next_->steps.empty()) && holding_) {
                    break;  // nothing queued yet: the held plan again
                }
                if (next_ == nullptr || next_->steps.empty()) {
                    running_ = false;
                    position_0_ = 0;
                    playing_.store(false, std::memory_order_release);
                    position_.store(0, std::memory_order_release);
                    ends_.fetch_add(1, std::memory_order_release);
                    return;
                }
                plan_ = next_;
                planSerial_ = nextSerial_;
                holding_ = nextHolds_;
                next_ = nullptr;
                currentSerial_.store(planSerial_, std::memory_order_release);
                if (plan_->intervalMs > 0) {
                    intervalFrames_ = std::max<std::int64_t>(
                        1, std::int64_t{plan_->intervalMs} * sampleRate_ / 1000);
                    nextFrame_ = frame + intervalFrames_;
                }
                break;
        }
        position_0_ = 0;
        passes_.fetch_add(1, std::memory_order_release);
    }
    Sound(mixer, position_0_, frame);
    lastFrame_ = frame;
    lastStepFrame_.store(frame, std::memory_order_release);
    position_.store(position_0_, std::memory_order_release);
    stepsPlayed_.fetch_add(1, std::memory_order_release);
}

void StepSequencer::Sound(Mixer& mixer, int step, std::int64_t frame) {
    const SequencePlan::Step& s = plan_->steps[static_cast<std::size_t>(step)];
    if (!s.marks.empty()) {
        int level = VolumeControl::LevelOfWord(mixer.VolumeWord());
        for (const SequencePlan::VolumeMark& mark : s.marks) {
            double result = level;
            if (mark.op == '+') {
                result = level * mark.factor;
            } else if (mark.op == '-') {
                result = level / mark.factor;
            }
            level = static_cast<int>(std::nearbyint(std::clamp(result, 0.0, 255.0)));
        }
        mixer.SetVolumeWord(static_cast<std::uint32_t>(level) * 0x1000100u);
    }
    for (const SequencePlan::Stroke& stroke : s.strokes) {
        if (stroke.group >= 0 && stroke.group < kGroups && !groups_[stroke.group]) {
            continue;
        }
        if (stroke.sound < 0 || static_cast<std::size_t>(stroke.sound) >= plan_->sounds.size()) {
            continue;
        }
        // A free own voice, else the one started longest ago gives way.
        int slot = nextSlot_;
        for (int i = 0; i < Mixer::kSequencerVoices; ++i) {
            const int candidate = (nextSlot_ + i) % Mixer::kSequencerVoices;
            if (!mixer.OwnVoicePlaying(candidate)) {
                slot = candidate;
                break;
            }
        }
        nextSlot_ = (slot + 1) % Mixer::kSequencerVoices;
        slots_[slot].planSerial = planSerial_;
        mixer.StartOwnVoice(slot, plan_->sounds[static_cast<std::size_t>(stroke.sound)].get(),
                            frame, 1.0f, StrokeTag(planSerial_, stroke.sound));
    }
}

void StepSequencer::PublishPlanInUse(const Mixer& mixer) {
    std::uint64_t oldest = planSerial_;
    if (next_ != nullptr) {
        oldest = std::min(oldest, nextSerial_);
    }
    for (int slot = 0; slot < Mixer::kSequencerVoices; ++slot) {
        if (mixer.OwnVoicePlaying(slot)) {
            oldest = std::min(oldest, slots_[slot].planSerial);
        }
    }
    planInUse_.store(oldest, std::memory_order_release);
}

}  // namespace orvane
