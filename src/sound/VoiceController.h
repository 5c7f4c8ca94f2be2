#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The bell voices: striking a bell, the playback voices, the sweep of finished voices and its workers, and the sound folder that the "Stereo" check box selects.
// Lives on the user-interface thread, owned by the main window.
class VoiceController : public QObject {
    Q_OBJECT

public:
    explicit VoiceController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void StrikeBell(int bell);
    void ReleaseVoices();
    void FinalSweep();

private:
    TfrmMain& main_;
};

}  // namespace orvane
