#pragma once

#include "sound/core/OutputGain.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace orvane {

// The device kinds whose volume the program can change, in the order of the device table.
enum VolumeDeviceKind : int { kAuxiliaryDevice = 0, kWaveOutputDevice = 1, kMidiOutputDevice = 2 };

// The output level of the sound device on a 0 (silent) to 255 (loudest) scale. The level is the
// device's own, not the program's: a change is heard in every voice at once. Only the wave
// output kind has a device here, the engine's output gain; the auxiliary and MIDI kinds never
// have one. Runs on the user-interface thread.
class VolumeControl {
  public:
    static constexpr int kKindCount = 3;
    static constexpr int kNoDevice = -1;
    static constexpr int kMaxLevel = 255;
    // One level step of the louder and softer controls.
    static constexpr int kLevelStep = 10;

    // gain may be null (no sound engine): no kind has a device then. gain must outlive this.
    explicit VolumeControl(OutputGain* gain);

    // Fills the device table: per kind the number of the first device that can change its
    // volume, or kNoDevice. Every entry is kNoDevice until this has run.
    void DetectVolumeDevices();

    // The device number of a kind (kNoDevice for none or for a kind outside 0 to 2).
    int Device(int kind) const;

    // (left + right) >> 9 of the device volume word: 0 to 255. A kind without a device gives
    // 0; a failed read counts as a word of 0.
    int GetVolume(int kind) const;

    // Writes level * 0x1000100 (level * 256 in both channels; 255 gives 65280 per channel).
    // Does nothing for a kind without a device. A level outside 0 to 255 is clamped first so
    // that one channel never spills into the other.
    void SetVolume(int kind, int level);

    // The arithmetic of the controls.
    static int LouderLevel(int level) { return level < 246 ? level + kLevelStep : kMaxLevel; }
    static int SofterLevel(int level) { return level > 9 ? level - kLevelStep : 0; }
    // The vertical track bar runs upside down: the loudest level sits at its top (position 0).
    static int TrackBarPosition(int level) { return kMaxLevel - level; }
    static int LevelOfPosition(int position) { return kMaxLevel - position; }
    // "Volume: " followed by the level in decimal.
    static QString VolumeCaption(int level);

    // The volume word of a level.
    static quint32 VolumeWord(int level);
    // The level of a volume word.
    static int LevelOfWord(quint32 word) { return int(((word & 0xFFFFu) + (word >> 16)) >> 9); }

  private:
    OutputGain* gain_;
    std::array<int, kKindCount> devices_{kNoDevice, kNoDevice, kNoDevice};
};

}  // namespace orvane
