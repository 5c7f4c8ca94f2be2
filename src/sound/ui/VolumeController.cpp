#include "sound/ui/VolumeController.h"

#include "app/core/Guard.h"
#include "app/ui/TPanel.h"
#include "app/ui/TSlider.h"
#include "sound/core/AudioEngine.h"
#include "sound/ui/VoiceController.h"

#include <QAction>
#include <QToolButton>
#include <algorithm>

namespace orvane {

VolumeController::VolumeController(VolumeWidgets widgets, VoiceController& voices)
    : widgets_(widgets), voices_(voices), control_(&voices.Engine()) {}

void VolumeController::Connect() {
    const VolumeWidgets& f = widgets_;
    Wire(f.btnVolume, &QToolButton::clicked, this, &VolumeController::btnVolumeClick);
    Wire(f.tbVolume, &QSlider::valueChanged, this, &VolumeController::tbVolumeChange);
    Wire(f.btnVolumeUp, &QToolButton::clicked, f.nVolumeUp, &QAction::trigger);
    Wire(f.nVolumeUp, &QAction::triggered, this, &VolumeController::btnVolumeUpClick);
    Wire(f.btnVolumeDown, &QToolButton::clicked, f.nVolumeDown, &QAction::trigger);
    Wire(f.nVolumeDown, &QAction::triggered, this, &VolumeController::btnVolumeDownClick);
}

void VolumeController::DetectVolumeDevices() {
    control_.DetectVolumeDevices();
}

int VolumeController::GetVolume() const {
    return control_.GetVolume(kWaveOutputDevice);
}

void VolumeController::ShowDeviceLevel() {
    const int level = GetVolume();
    widgets_.tbVolume->SetPosition(VolumeControl::TrackBarPosition(level));
    widgets_.btnVolume->setText(VolumeControl::VolumeCaption(level));
}

void VolumeController::btnVolumeClick() {
    const VolumeWidgets& f = widgets_;
    // The pop-up stands on the tools panel.
    f.pnlVolume->move(f.pnlVolume->x(), f.pnlTools->y() - f.pnlVolume->height());
    f.pnlVolume->setVisible(!f.pnlVolume->isVisible());
    if (f.pnlVolume->isVisible()) {
        f.pnlVolume->raise();
    }
    ShowDeviceLevel();
}

void VolumeController::tbVolumeChange(int position) {
    const int level = VolumeControl::LevelOfPosition(position);
    control_.SetVolume(kWaveOutputDevice, level);
    widgets_.btnVolume->setText(VolumeControl::VolumeCaption(level));
}

void VolumeController::ShowLevel(int level) {
    widgets_.tbVolume->SetPosition(VolumeControl::TrackBarPosition(level));
    widgets_.btnVolume->setText(VolumeControl::VolumeCaption(level));
}

void VolumeController::btnVolumeUpClick() {
    ShowLevel(VolumeControl::LouderLevel(GetVolume()));
}

void VolumeController::btnVolumeDownClick() {
    ShowLevel(VolumeControl::SofterLevel(GetVolume()));
}

void VolumeController::SetLevelFromScore(int level) {
    level = std::clamp(level, 0, VolumeControl::kMaxLevel);
    control_.SetVolume(kWaveOutputDevice, level);
    ShowLevel(level);
}

}  // namespace orvane
