#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace orvane {

class MidiNoteMap;

// What the user-interface thread has decided about instrument strokes, published so that an
// input thread can strike at once without asking it: whether strokes ring at all (the keys are
// enabled and no dialog takes the notes), which bell each MIDI note strikes, and for each bell
// the kept sound (see InstrumentVoices) that a stroke starts, or none (not in the set, or not
// prepared yet: such a stroke is left to the user-interface thread).
//
// Threads: the setters run on the user-interface thread; Decide runs on any thread. Each value
// is an atomic of its own: a stroke that meets a change half-published sees each value either
// before or after it.
class InstrumentSnapshot {
  public:
    static constexpr int kBellCount = 15;
    static constexpr int kNoteCount = 128;

    InstrumentSnapshot();

    void SetEnabled(bool on) { enabled_.store(on, std::memory_order_release); }
    void SetNotes(const MidiNoteMap& notes);
    // The kept sound of catalogue bell 0 to 14; -1: its strokes are not started off the
    // user-interface thread.
    void SetSound(int bell, int sound);
    // No bell's strokes are started off the user-interface thread.
    void ClearSounds();

    bool Enabled() const { return enabled_.load(std::memory_order_acquire); }
    int SoundOf(int bell) const;

    // What a note-on strikes: the bell (-1: none) and its gain, and the kept sound to start now;
    // sound -1 when the stroke must not sound from the input thread (strokes disabled, no bell,
    // velocity 0, or no sound for the bell).
    struct Stroke {
        int bell = -1;
        float gain = 0.0f;
        int sound = -1;
    };
    Stroke Decide(int note, int velocity) const;

  private:
    std::atomic<bool> enabled_{false};
    std::array<std::atomic<std::int8_t>, kNoteCount> bellOfNote_{};
    std::array<std::atomic<std::int16_t>, kBellCount> soundOfBell_{};
};

}  // namespace orvane
