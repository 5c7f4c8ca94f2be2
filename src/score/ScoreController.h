#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The score view: the three staves drawn from the chime score page by page, the grid option, the page selector, and showing and hiding the score.
// Lives on the user-interface thread, owned by the main window.
class ScoreController : public QObject {
    Q_OBJECT

public:
    explicit ScoreController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void ResetDrawingState();
    void CreateScoreImages();
    void RedrawScore();
    void DrawScoreGrid();
    void cbShowNotesClick();

private:
    TfrmMain& main_;
};

}  // namespace orvane
