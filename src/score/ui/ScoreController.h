#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include "score/core/ScoreLayout.h"
#include <array>

class QCheckBox;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace orvane {

class BellSetModel;
class TPanel;
class TSlider;
struct ProgramData;
class TransportModel;
class TransportRequests;
class TImage;

// The score view's widgets: its panels and covers, the page controls and the markers it
// shows and hides.
// Filled from the main window's form by ScoreWidgetsOf (app/ui/ControllerWidgets.h).
struct ScoreWidgets {
    TSlider* tbProgress;  // position written here when the page changes; otherwise by the player
    QLineEdit* edPage;  // text written here; enabled by the library and the player
    QSpinBox* udPage;  // read here; value written by the player and printing
    QCheckBox* cbGrid;
    QCheckBox* cbShowNotes;
    std::array<TPanel*, 3> ScorePanels;
    std::array<TPanel*, 3> ScoreCovers;
    // Shown and hidden here; created by the layout, moved by the player.
    std::array<QPointer<QWidget>, 3>& Markers;
};

// The score view: the three staves drawn from the chime score page by page, the grid option,
// the page selector, and showing and hiding the score. Lives on the user-interface thread,
// owned by the main window. The three score images are children of the score panels; the
// main window frees them through Release() in its destruction order.
class ScoreController : public QObject {
    Q_OBJECT

public:
    // The page selector asks the transport's owner for the page and the position.
    ScoreController(QWidget& window, ScoreWidgets widgets, ProgramData& data, BellSetModel& bells, const TransportModel& transport,
                    TransportRequests& requests);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    // Forgets what the view has drawn (the redraw counter); the current page itself is the
    // main window's.
    void ResetDrawingState();
    // Start-up: one score image per score panel, as large as the screen's work area, then kept
    // at the panel's client size; the "Score disabled" covers stay above them.
    void CreateScoreImages();
    // Frees the three score images, great bells first.
    void Release();

    // Clears the three images, then draws the grid and the notes of the current page. Callers
    // run it only while the score is shown.
    void RedrawScore();
    // Repaints the three images with the grid alone.
    void DrawScoreGrid();
    // Draws the notes and rests of the current page over what the images show.
    void DrawScorePage();
    void ShowScore();
    void HideScore();

    // Handlers.
    void cbGridClick();
    void cbShowNotesClick();
    // The page selector: page P (1-based) of udPage becomes the current page P - 1.
    void udPageClick();

    // The score image of group 0 (small), 1 (medium-size) or 2 (great); null before start-up
    // step 15 and after Release().
    TImage* ScoreImage(int group) const;
    // What the score image of the group shows now (empty without an image).
    QImage ScorePicture(int group) const;
    // The main window's background colour, on which grid and notes are drawn.
    QColor Background() const;
    // Number of RedrawScore runs since ResetDrawingState().
    int RedrawCount() const { return redrawCount_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sets the image of the group to its panel's client size.
    void FitImage(int group);
    // Draws the staff of one group: the grid, and the notes of the current page if withPage.
    void DrawStaff(int group, bool withPage);
    void FillBackground(int group);
    // A panel changed size after the last drawing (layouts settle after the resize handler):
    // once the event loop is free, pictures that no longer match their image are drawn again
    // at the new size.
    void ScheduleRefit();
    void RefitPictures();

    // What a score image shows when it was drawn from primitives: a later drawing of the same
    // staff then changes only the pixels that differ.
    struct Shown {
        bool valid = false;
        ScoreStaff staff;
        ScorePrimitives primitives;
    };

    QWidget& window_;
    const ScoreWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    const TransportModel& transport_;
    TransportRequests& requests_;
    std::array<QPointer<TImage>, 3> images_{};
    std::array<Shown, 3> shown_{};
    int redrawCount_ = 0;
    bool refitPending_ = false;
    // Non-zero while the page selector handles an input event of the user: only a value
    // change made by the user runs udPageClick, not one set by the program.
    int userPageInput_ = 0;
};

}  // namespace orvane
