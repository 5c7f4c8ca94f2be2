#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The chime library: the common and group chime lists, the chime selection dialog and the custom chimes played one after another.
// Lives on the user-interface thread, owned by the main window.
class LibraryController : public QObject {
    Q_OBJECT

public:
    explicit LibraryController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void ForgetLastChime();

private:
    TfrmMain& main_;
};

}  // namespace orvane
