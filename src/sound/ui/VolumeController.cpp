#include "sound/ui/VolumeController.h"

#include "app/core/Guard.h"
#include "app/ui/TSlider.h"
#include "app/ui/TfrmMain.h"
#include "sound/core/AudioEngine.h"
#include "sound/ui/VoiceController.h"

#include <QAction>
#include <QToolButton>
#include <algorithm>

namespace orvane {

VolumeController::VolumeController(TfrmMain& main)
    : QObject(&main), main_(main), control_(&main.voices->Engine()) {}

void VolumeController::Connect() {
    MainForm& f = main_.form;
    connect(f.btnVolume, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnVolumeClick(); }); });
    connect(f.tbVolume, &QSlider::valueChanged, this,
            [this](int position) { Guarded([&] { tbVolumeChange(position); }); });
    connect(f.btnVolumeUp, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnVolumeUpClick(); }); });
    connect(f.nVolumeUp, &QAction::triggered, this,
            [this] { Guarded([&] { btnVolumeUpClick(); }); });
    connect(f.btnVolumeDown, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnVolumeDownClick(); }); });
    connect(f.nVolumeDown, &QAction::triggered, this,
            [this] { Guarded([&] { btnVolumeDownClick(); }); });
}

void VolumeController::DetectVolumeDevices() {
    control_.DetectVolumeDevices();
}

int VolumeController::GetVolume() const {
    return control_.GetVolume(kWaveOutputDevice);
}

void VolumeController::ShowDeviceLevel() {
    const int level = GetVolume();
    main_.form.tbVolume->SetPosition(VolumeControl::TrackBarPosition(level));
    main_.form.btnVolume->setText(VolumeControl::VolumeCaption(level));
}

void VolumeController::btnVolumeClick() {
    MainForm& f = main_.form;
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
    main_.form.btnVolume->setText(VolumeControl::VolumeCaption(level));
}

void VolumeController::ShowLevel(int level) {
    main_.form.tbVolume->SetPosition(VolumeControl::TrackBarPosition(level));
    main_.form.btnVolume->setText(VolumeControl::VolumeCaption(level));
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
