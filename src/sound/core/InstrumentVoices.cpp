#include "sound/core/InstrumentVoices.h"

#include <algorithm>

#include "sound/core/VoiceCommandIntake.h"

namespace orvane {

namespace {

constexpr int kSoundBits = 16;
constexpr std::uint64_t kSoundMask = (std::uint64_t{1} << kSoundBits) - 1;

}  // namespace

InstrumentVoices::InstrumentVoices(Mixer& mixer, int firstVoice, std::size_t reserve)
    : mixer_(mixer), firstVoice_(firstVoice), reserve_(reserve) {
    kept_.reserve(kSoundCount);
    paths_.reserve(kSoundCount);
}

int InstrumentVoices::KeepSound(std::shared_ptr<const SampleBuffer> buffer, const QString& path) {
    if (!buffer) {
        return -1;
    }
    for (std::size_t i = 0; i < kept_.size(); ++i) {
        if (kept_[i] == buffer) {
            return static_cast<int>(i);
        }
    }
    if (kept_.size() >= static_cast<std::size_t>(kSoundCount)) {
        return -1;
    }
    const int sound = static_cast<int>(kept_.size());
    sounds_[static_cast<std::size_t>(sound)].store(buffer.get(), std::memory_order_release);
    kept_.push_back(std::move(buffer));
    paths_.push_back(path);
    return sound;
}

QString InstrumentVoices::PathOfSound(int sound) const {
    return sound >= 0 && sound < static_cast<int>(paths_.size())
               ? paths_[static_cast<std::size_t>(sound)]
               : QString();
}

bool InstrumentVoices::Silent(int slot, std::uint64_t stroke) const {
    const std::uint64_t state = mixer_.VoiceState(firstVoice_ + slot);
    return state / 2 >= (stroke >> kSoundBits) && (state & 1u) == 0;
}

int InstrumentVoices::Claim(std::uint64_t ticket, std::uint64_t& previous) {
    // A silent voice, looking from where the ticket points so that strokes spread over the bank.
    for (int i = 0; i < kVoiceCount; ++i) {
        const int slot = static_cast<int>((ticket + static_cast<std::uint64_t>(i)) % kVoiceCount);
        std::uint64_t stroke = last_[slot].load(std::memory_order_acquire);
        if (stroke != kClaimed && Silent(slot, stroke) &&
            last_[slot].compare_exchange_strong(stroke, kClaimed, std::memory_order_acq_rel)) {
            previous = stroke;
            return slot;
        }
    }
    // Every voice sounds: the one struck longest ago gives way.
    for (int attempt = 0; attempt < kVoiceCount; ++attempt) {
        int oldest = -1;
        std::uint64_t oldestTicket = 0;
        for (int slot = 0; slot < kVoiceCount; ++slot) {
            if (last_[slot].load(std::memory_order_relaxed) == kClaimed) {
                continue;
            }
            const std::uint64_t t = tickets_[slot].load(std::memory_order_relaxed);
            if (oldest < 0 || t < oldestTicket) {
                oldest = slot;
                oldestTicket = t;
            }
        }
        if (oldest < 0) {
            return -1;
        }
        std::uint64_t stroke = last_[oldest].load(std::memory_order_acquire);
        if (stroke != kClaimed &&
            last_[oldest].compare_exchange_strong(stroke, kClaimed, std::memory_order_acq_rel)) {
            previous = stroke;
            return oldest;
        }
    }
    return -1;
}

bool InstrumentVoices::Strike(int sound, float gain) {
    if (sound < 0 || sound >= kSoundCount) {
        return false;
    }
    const SampleBuffer* buffer = sounds_[static_cast<std::size_t>(sound)].load(std::memory_order_acquire);
    if (buffer == nullptr) {
        return false;
    }
    const std::uint64_t ticket = nextTicket_.fetch_add(1, std::memory_order_relaxed) + 1;
    std::uint64_t previous = 0;
    const int slot = Claim(ticket, previous);
    if (slot < 0) {
        return false;
    }
    VoiceCommand command;
    command.kind = VoiceCommand::Kind::kPlay;
    command.voice = static_cast<std::uint16_t>(firstVoice_ + slot);
    command.buffer = buffer;
    command.startFrame = Mixer::kStartNow;
    command.gain = std::clamp(gain, 0.0f, 1.0f);
    const std::uint64_t serial =
        SendVoiceCommand(mixer_.Commands(), command, reserve_, [&](std::uint64_t s) {
            last_[slot].store(s << kSoundBits | static_cast<std::uint64_t>(sound),
                              std::memory_order_release);
        });
    if (serial == 0) {
        last_[slot].store(previous, std::memory_order_release);
        return false;
    }
    tickets_[slot].store(ticket, std::memory_order_relaxed);
    strokes_.fetch_add(1, std::memory_order_relaxed);
    return true;
}

QString InstrumentVoices::PathOfStart(int voice, std::uint64_t serial) const {
    if (!Owns(voice)) {
        return {};
    }
    const std::uint64_t stroke = last_[voice - firstVoice_].load(std::memory_order_acquire);
    if (stroke == kClaimed || (stroke >> kSoundBits) != serial) {
        return {};
    }
    return PathOfSound(static_cast<int>(stroke & kSoundMask));
}

}  // namespace orvane
