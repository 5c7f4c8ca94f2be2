#pragma once

#include <QChar>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QMainWindow;
class QTimer;

namespace orvane {

class BellSetModel;
class TPanel;
struct ProgramData;
class ViewModel;
class ViewRequests;
class TImage;

// The faces' widgets: the window (its pixel ratio), the panels the faces stand on and the
// view controls.
// Filled from the main window's form by FacesWidgetsOf (app/ui/ControllerWidgets.h).
struct FacesWidgets {
    QMainWindow* window;
    TPanel* pnlCustomSelections;
    QComboBox* cbView;  // enabled and disabled here; set from the settings at start-up
    TPanel* pnlSmall;
    TPanel* pnlMiddle;
    TPanel* pnlBig;
    QCheckBox* cbShowMovie;
    QTimer* mmResetTimer;  // stopped here; started by the voices and the player
    std::array<TPanel*, 3> GroupPanels;
    // Read only (their height); created by the bell set.
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;
};

// The bell faces beside the staves and their animation: struck frames, rest frames, chord and
// disabled pictures, and the general and schematic views. Lives on the user-interface thread,
// owned by the main window. The pictures are children of pnlCustomSelections, created at
// start-up (CreateFaces) and freed by Release() in the main window's destruction order.
class FacesController : public QObject {
    Q_OBJECT

public:
    static constexpr int kRows = 4;    // small (4+ bells), medium-size, great, small (3-)
    static constexpr int kFrames = 8;  // frame 0 at rest, frame n: the n-th bell struck
    static constexpr int kSets = 2;    // 0 general view, 1 schematic view
    static constexpr int kFaceWidth = 129;
    static constexpr int kFaceHeight = 60;
    static constexpr int kFaceLeft = 15;

    // The schematic view chosen in cbView is asked of the view model's owner.
    FacesController(FacesWidgets widgets, ProgramData& data, BellSetModel& bells, const ViewModel& view,
                    ViewRequests& viewRequests);

    // Connects the widgets of this subsystem to their handlers (cbView, cbShowMovie, the reset
    // timer).
    void Connect();
    // Start-up: the 64 face pictures (frame 0 of the general set visible, the rest hidden),
    // then the three chord pictures and the three disabled pictures, all hidden.
    void CreateFaces();
    // Frees the disabled pictures, the chord pictures and the face pictures, in that order,
    // each from the highest index down.
    void Release();
    // Puts every picture row under its group's chime combo box.
    void LayoutFaces();
    // Shows the struck frame of catalogue bell `bell` (or the chord picture of its group); does
    // nothing for a set of 4 bells or fewer or a bell without a group. Stops mmResetTimer: the
    // caller starts it again.
    void AnimateBell(int bell);
    // Hides the frames of the group with letter "s", "m" or "b" in both sets, and while
    // animation is on shows the chord pictures of the groups that play chords.
    void ClearGroupFrames(QChar letter);
    // Puts every animated group back to its rest picture in the current view.
    void ShowRestFrames();
    // Start-up: the rest pictures of the selected view, the other view's pictures hidden.
    void ApplyViewAtStart();

    // Handlers.
    void cbViewChange();
    void cbShowMovieClick();
    void mmResetTimerTimer();

    // The picture of set `set`, row `row`, frame `frame`; null outside the ranges or before
    // CreateFaces.
    TImage* Face(int set, int row, int frame) const;
    TImage* ChordPicture(int group) const;
    TImage* DisabledPicture(int group) const;
    // The animation token of a bell: group letter and position among the set's bells of that
    // group, counted from 1 in catalogue order ("s2"); empty for a bell not in the set or
    // without a group.
    QString AnimationToken(int bell) const;

protected:
    // Keeps the rows under their group panels when those move or change size, whenever the
    // layout settles.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HideOtherSet();
    int CurrentSet() const;
    bool ManySmallBells() const;
    // Loads a bitmap of AnimateDir; an empty image when the file does not exist.
    QImage LoadAnimatePicture(const QString& name) const;
    // A 129 x 60 picture of AnimateDir with a text written on it at (x, y), white transparent.
    QImage TextPicture(const QString& file, const QString& text, int x, int y) const;
    // A hidden picture control on the custom selections panel showing `picture`.
    TImage* MakeTextPicture(const QString& objectName, const QImage& picture);

    const FacesWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    const ViewModel& view_;
    ViewRequests& viewRequests_;
    std::array<std::array<std::array<QPointer<TImage>, kFrames>, kRows>, kSets> faces_{};
    std::array<QPointer<TImage>, 3> chords_{};
    std::array<QPointer<TImage>, 3> disabled_{};
};

}  // namespace orvane
