#include "sound/core/VolumeControl.h"

#include <algorithm>

namespace orvane {

VolumeControl::VolumeControl(OutputGain* gain) : gain_(gain) {}

void VolumeControl::DetectVolumeDevices() {
    devices_.fill(kNoDevice);
    // The engine's output gain is the one wave output device, number 0, and it can change its
    // volume whenever a sound device is open.
    if (gain_ != nullptr && gain_->HasDevice()) {
        devices_[kWaveOutputDevice] = 0;
    }
}

int VolumeControl::Device(int kind) const {
    if (kind < 0 || kind >= kKindCount) {
        return kNoDevice;
    }
    return devices_[std::size_t(kind)];
}

int VolumeControl::GetVolume(int kind) const {
    if (Device(kind) == kNoDevice || gain_ == nullptr) {
        return 0;
    }
    quint32 word = 0;
    if (!gain_->ReadVolumeWord(word)) {
        word = 0;
    }
    return LevelOfWord(word);
}

void VolumeControl::SetVolume(int kind, int level) {
    if (Device(kind) == kNoDevice || gain_ == nullptr) {
        return;
    }
    gain_->WriteVolumeWord(VolumeWord(level));
}

QString VolumeControl::VolumeCaption(int level) {
    return QStringLiteral("Volume: ") + QString::number(level);
}

quint32 VolumeControl::VolumeWord(int level) {
    return quint32(std::clamp(level, 0, kMaxLevel)) * 0x1000100u;
}

}  // namespace orvane
