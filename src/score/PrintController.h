#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// Printing the score: one page picture per score page, printed in landscape and scaled to fit.
// Lives on the user-interface thread, owned by the main window.
class PrintController : public QObject {
    Q_OBJECT

public:
    explicit PrintController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();


private:
    TfrmMain& main_;
};

}  // namespace orvane
