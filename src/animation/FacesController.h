#pragma once

#include <QObject>
#include <QChar>


namespace orvane {

class TfrmMain;

// The bell faces beside the staves and their animation: struck frames, rest frames, chord and disabled pictures, and the general and schematic views.
// Lives on the user-interface thread, owned by the main window.
class FacesController : public QObject {
    Q_OBJECT

public:
    explicit FacesController(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void CreateFaces();
    void LayoutFaces();
    void AnimateBell(int bell);
    void ClearGroupFrames(QChar letter);
    void ShowRestFrames();
    void ApplyViewAtStart();
    void cbViewChange();
    void cbShowMovieClick();

private:
    TfrmMain& main_;
};

}  // namespace orvane
