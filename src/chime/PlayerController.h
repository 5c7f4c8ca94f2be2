#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The playback engine and its transport: the step timer, playing a step, play, pause, stop, winding, the progress and tempo sliders and the durations.
// Lives on the user-interface thread, owned by the main window.
class PlayerController : public QObject {
    Q_OBJECT

public:
    explicit PlayerController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void ResetPlayer();
    void ShowTempo();
    void ShowTotalDuration();
    void PlaceMarkers();

private:
    TfrmMain& main_;
};

}  // namespace orvane
