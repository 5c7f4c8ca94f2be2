#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// Casual reproduction: endless random combinations of study chimes.
// Lives on the user-interface thread, owned by the main window.
class CasualController : public QObject {
    Q_OBJECT

public:
    explicit CasualController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();


private:
    TfrmMain& main_;
};

}  // namespace orvane
