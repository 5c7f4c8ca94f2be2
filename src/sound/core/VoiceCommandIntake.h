#pragma once

#include <cstddef>
#include <cstdint>

#include "sound/core/Mixer.h"

namespace orvane {

// The one way a voice command enters the mixer, from any producer thread (the UI thread, an
// instrument's input thread). The command's serial is its place in the ring plus one, so serials
// increase strictly in the order the audio thread applies them whichever thread sent them.
// `onSerial(serial)` runs before the command becomes visible to the audio thread (to record what
// the serial stands for); it must not throw, lock or allocate when called off the UI thread.
// Returns the serial, or 0 (nothing sent) when the ring has `reserve` or fewer free places.
template <typename OnSerial>
std::uint64_t SendVoiceCommand(Mixer::CommandRing& ring, const VoiceCommand& command,
                               std::size_t reserve, OnSerial&& onSerial) {
    std::uint64_t serial = 0;
    ring.PushWith(reserve, [&](VoiceCommand& slot, std::uint64_t position) {
        serial = position + 1;
        slot = command;
        slot.serial = serial;
        onSerial(serial);
    });
    return serial;
}

inline std::uint64_t SendVoiceCommand(Mixer::CommandRing& ring, const VoiceCommand& command,
                                      std::size_t reserve) {
    return SendVoiceCommand(ring, command, reserve, [](std::uint64_t) {});
}

}  // namespace orvane
