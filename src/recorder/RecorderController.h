#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The recording panel: recording bell strokes from the keyboard into chime score text, opening and saving it.
// Lives on the user-interface thread, owned by the main window.
class RecorderController : public QObject {
    Q_OBJECT

public:
    explicit RecorderController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void FitToBellsBox();

private:
    TfrmMain& main_;
};

}  // namespace orvane
