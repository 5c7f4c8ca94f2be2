#pragma once

#include <array>

namespace orvane {

class IniFile;

// Which MIDI note strikes which bell, and how loud a note-on strikes.
//
// The default map suits a ringer with a pedal board under the feet and a keyboard under the
// hands:
// - the 13-note pedal board, notes 36 (C2) to 48 (C3): the great bells 0 to 4 on notes 36 to 40
//   and the medium-size bells 5 to 10 on notes 41 to 46; notes 47 and 48 are left free;
// - the keyboard above it: the small bells 11 to 14 on the white keys from middle C, notes 60,
//   62, 64 and 65.
// The user's own map is kept in the settings section [Midi], one key per bell, "Bell0" to
// "Bell14", each a note number 0 to 127; a bell without a valid key keeps its default note.
// Plain value type; no thread of its own.
class MidiNoteMap {
public:
    static constexpr int kBellCount = 15;
    static constexpr int kNoNote = -1;
    static constexpr int kPedalLowest = 36;
    static constexpr int kPedalCount = 13;

    // The default map.
    MidiNoteMap();

    // The default note of catalogue bell 0 to 14.
    static int DefaultNote(int bell);

    // The note of a bell; kNoNote for a bell outside 0 to 14.
    int NoteOf(int bell) const;
    // The lowest bell whose note is `note`; -1 for none.
    int BellOfNote(int note) const;
    // The bell other than `bell` that already has `note`; -1 for none.
    int ConflictOf(int bell, int note) const;
    // Sets a bell's note (0 to 127); false, and nothing changes, for a bell or note out of range.
    bool SetNote(int bell, int note);
    bool IsDefault() const;

    // The strike gain of a note-on velocity, linear, 0 to 1: (velocity / 127) squared, so that
    // velocity 127 strikes at the level of a key strike (1) and never above it, velocity 64 at
    // about -12 dB and velocity 1 at about -84 dB. Velocity 0 (a note-off) and below gives 0;
    // above 127 counts as 127.
    static float VelocityGain(int velocity);

    // Reads section [Midi]: each valid "BellN" key overrides its bell's default note.
    void Read(const IniFile& ini);
    // Writes every bell's note to section [Midi] (or removes the section's bell keys when the
    // map is the default, so the file holds only what the user changed). False when the file
    // could not be written.
    bool Write(IniFile& ini) const;

    friend bool operator==(const MidiNoteMap&, const MidiNoteMap&) = default;

private:
    std::array<int, kBellCount> notes_{};
};

}  // namespace orvane
