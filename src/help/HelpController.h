#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The "Reference" menu: help pages and lessons in the lesson window with their voice commentary, web links, the contact mail link and the about window.
// Lives on the user-interface thread, owned by the main window.
class HelpController : public QObject {
    Q_OBJECT

public:
    explicit HelpController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();


private:
    TfrmMain& main_;
};

}  // namespace orvane
