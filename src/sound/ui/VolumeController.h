#pragma once

#include "sound/core/VolumeControl.h"

#include <QObject>

class QAction;
class QToolButton;

namespace orvane {

class TPanel;
class TSlider;
class VoiceController;

// The volume controls' widgets.
// Filled from the main window's form by VolumeWidgetsOf (app/ui/ControllerWidgets.h).
struct VolumeWidgets {
    QAction* nVolumeUp;
    QAction* nVolumeDown;
    TPanel* pnlTools;  // read only: the pop-up stands on it
    QToolButton* btnVolumeDown;
    QToolButton* btnVolume;  // caption also written by the player (volume marks of a score)
    QToolButton* btnVolumeUp;
    TPanel* pnlVolume;  // shown here; hidden by the layout with the tools panel
    TSlider* tbVolume;  // also moved, with its signals blocked, by the player
};

// The volume controls: the device level on the volume button, the pop-up slider and the louder
// and softer commands. The device is the wave output kind, the audio engine's output gain; a
// change is heard at once in every voice. Without a sound device every level reads 0 and
// writes do nothing; the controls still move.
// Lives on the user-interface thread, owned by the main window.
class VolumeController : public QObject {
    Q_OBJECT

  public:
    VolumeController(VolumeWidgets widgets, VoiceController& voices);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    // Start-up: finds the device of each kind that can change its volume.
    void DetectVolumeDevices();
    // Reads the wave output level, puts the slider at 255 minus the level and the level into the
    // caption of the volume button.
    void ShowDeviceLevel();

    // The wave output level, 0 to 255 (0 without a device).
    int GetVolume() const;
    // A volume mark of a chime score: writes the level (clamped to 0 to 255) to the device and
    // shows it in the slider and the caption.
    void SetLevelFromScore(int level);

    // Handlers.
    void btnVolumeClick();
    void tbVolumeChange(int position);
    void btnVolumeUpClick();
    void btnVolumeDownClick();

    VolumeControl& Control() { return control_; }

  private:
    // Moves the slider to the level (its change handler writes a real change to the device)
    // and shows the level in the caption.
    void ShowLevel(int level);

    const VolumeWidgets widgets_;
    VoiceController& voices_;
    VolumeControl control_;
};

}  // namespace orvane
