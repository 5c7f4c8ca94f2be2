#include "sound/core/InstrumentSnapshot.h"

#include "sound/core/MidiNoteMap.h"

namespace orvane {

InstrumentSnapshot::InstrumentSnapshot() {
    for (auto& bell : bellOfNote_) {
        bell.store(-1, std::memory_order_relaxed);
    }
    ClearSounds();
}

void InstrumentSnapshot::SetNotes(const MidiNoteMap& notes) {
    for (int note = 0; note < kNoteCount; ++note) {
        bellOfNote_[static_cast<std::size_t>(note)].store(
            static_cast<std::int8_t>(notes.BellOfNote(note)), std::memory_order_release);
    }
}

void InstrumentSnapshot::SetSound(int bell, int sound) {
    if (bell >= 0 && bell < kBellCount) {
        soundOfBell_[static_cast<std::size_t>(bell)].store(
            static_cast<std::int16_t>(sound >= 0 ? sound : -1), std::memory_order_release);
    }
}

void InstrumentSnapshot::ClearSounds() {
    for (auto& sound : soundOfBell_) {
        sound.store(-1, std::memory_order_release);
    }
}

int InstrumentSnapshot::SoundOf(int bell) const {
    return bell >= 0 && bell < kBellCount
               ? soundOfBell_[static_cast<std::size_t>(bell)].load(std::memory_order_acquire)
               : -1;
}

InstrumentSnapshot::Stroke InstrumentSnapshot::Decide(int note, int velocity) const {
    Stroke stroke;
    if (note < 0 || note >= kNoteCount) {
        return stroke;
    }
    stroke.bell = bellOfNote_[static_cast<std::size_t>(note)].load(std::memory_order_acquire);
    stroke.gain = MidiNoteMap::VelocityGain(velocity);
    if (stroke.bell >= 0 && stroke.gain > 0.0f && Enabled()) {
        stroke.sound = SoundOf(stroke.bell);
    }
    return stroke;
}

}  // namespace orvane
