#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The volume controls: the device level on the volume button, the pop-up slider and the louder and softer commands.
// Lives on the user-interface thread, owned by the main window.
class VolumeController : public QObject {
    Q_OBJECT

public:
    explicit VolumeController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void DetectVolumeDevices();
    void ShowDeviceLevel();

private:
    TfrmMain& main_;
};

}  // namespace orvane
