#include "sound/core/VolumeControl.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

struct FakeGain : OutputGain {
    bool device = true;
    bool readable = true;
    quint32 word = 0;
    int writes = 0;

    bool HasDevice() const override { return device; }
    bool ReadVolumeWord(quint32& out) const override {
        if (!readable) {
            return false;
        }
        out = word;
        return true;
    }
    void WriteVolumeWord(quint32 value) override {
        word = value;
        ++writes;
    }
};

}  // namespace

TEST(VolumeControl, OnlyTheWaveOutputKindHasADevice) {
    FakeGain gain;
    VolumeControl volume(&gain);
    for (int kind = -1; kind <= 3; ++kind) {
        EXPECT_EQ(volume.Device(kind), VolumeControl::kNoDevice) << "before detection " << kind;
    }
    volume.DetectVolumeDevices();
    EXPECT_EQ(volume.Device(kAuxiliaryDevice), VolumeControl::kNoDevice);
    EXPECT_EQ(volume.Device(kWaveOutputDevice), 0);
    EXPECT_EQ(volume.Device(kMidiOutputDevice), VolumeControl::kNoDevice);

    gain.word = 0x80008000u;
    volume.SetVolume(kAuxiliaryDevice, 10);
    volume.SetVolume(kMidiOutputDevice, 10);
    volume.SetVolume(-1, 10);
    EXPECT_EQ(gain.writes, 0);
    EXPECT_EQ(volume.GetVolume(kMidiOutputDevice), 0);
    EXPECT_EQ(volume.GetVolume(-1), 0);
    EXPECT_EQ(volume.GetVolume(kWaveOutputDevice), 128);
}

TEST(VolumeControl, LevelsAndVolumeWords) {
    FakeGain gain;
    VolumeControl volume(&gain);
    volume.DetectVolumeDevices();

    volume.SetVolume(kWaveOutputDevice, 255);
    EXPECT_EQ(gain.word & 0xFFFFu, 65280u);
    EXPECT_EQ(gain.word >> 16, 65280u);
    EXPECT_EQ(volume.GetVolume(kWaveOutputDevice), 255);

    volume.SetVolume(kWaveOutputDevice, 1);
    EXPECT_EQ(gain.word, 0x1000100u);
    EXPECT_EQ(volume.GetVolume(kWaveOutputDevice), 1);

    gain.word = 65535u;  // left full, right silent
    EXPECT_EQ(volume.GetVolume(kWaveOutputDevice), 127);
    gain.word = 0xFFFFFFFFu;
    EXPECT_EQ(volume.GetVolume(kWaveOutputDevice), 255);

    gain.readable = false;  // a failed read counts as silence
    EXPECT_EQ(volume.GetVolume(kWaveOutputDevice), 0);

    // Out-of-range levels never spill one channel into the other.
    volume.SetVolume(kWaveOutputDevice, 300);
    EXPECT_EQ(gain.word, 255u * 0x1000100u);
    volume.SetVolume(kWaveOutputDevice, -4);
    EXPECT_EQ(gain.word, 0u);
}

TEST(VolumeControl, NoSoundDeviceReadsZeroAndWritesNothing) {
    FakeGain gain;
    gain.device = false;
    gain.word = 0xFFFFFFFFu;
    VolumeControl volume(&gain);
    volume.DetectVolumeDevices();
    EXPECT_EQ(volume.Device(kWaveOutputDevice), VolumeControl::kNoDevice);
    EXPECT_EQ(volume.GetVolume(kWaveOutputDevice), 0);
    volume.SetVolume(kWaveOutputDevice, 100);
    EXPECT_EQ(gain.writes, 0);

    VolumeControl withoutEngine(nullptr);
    withoutEngine.DetectVolumeDevices();
    EXPECT_EQ(withoutEngine.GetVolume(kWaveOutputDevice), 0);
    withoutEngine.SetVolume(kWaveOutputDevice, 100);
}

TEST(VolumeControl, ControlArithmetic) {
    EXPECT_EQ(VolumeControl::LouderLevel(250), 255);
    EXPECT_EQ(VolumeControl::LouderLevel(245), 255);
    EXPECT_EQ(VolumeControl::LouderLevel(246), 255);
    EXPECT_EQ(VolumeControl::LouderLevel(255), 255);
    EXPECT_EQ(VolumeControl::LouderLevel(0), 10);
    EXPECT_EQ(VolumeControl::SofterLevel(5), 0);
    EXPECT_EQ(VolumeControl::SofterLevel(9), 0);
    EXPECT_EQ(VolumeControl::SofterLevel(10), 0);
    EXPECT_EQ(VolumeControl::SofterLevel(255), 245);
    EXPECT_EQ(VolumeControl::TrackBarPosition(255), 0);
    EXPECT_EQ(VolumeControl::LevelOfPosition(0), 255);
    EXPECT_EQ(VolumeControl::TrackBarPosition(40), 215);
    EXPECT_EQ(VolumeControl::VolumeCaption(255), "Volume: 255");
    EXPECT_EQ(VolumeControl::VolumeCaption(0), "Volume: 0");
}
