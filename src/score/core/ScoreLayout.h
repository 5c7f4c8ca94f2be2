#pragma once

#include "score/core/ScorePrimitive.h"

#include <QColor>
#include <QPoint>
#include <QStringList>
#include <array>

namespace orvane {

// What a staff is drawn for: one bell group in one score image.
struct ScoreStaff {
    int group = 0;            // 0 small, 1 medium-size, 2 great bells (others clamped)
    int bellCount = 0;        // n: bells of the group in the bell set
    int width = 0;            // W: client width of the score image, pixels
    int height = 0;           // H: client height of the score image, pixels
    bool simplified = false;  // "Simplified view": staff lines only for the bells in use
    QColor background;        // the main window's background colour
};

// Per-group measures of a staff, derived from the image size at drawing time.
struct ScoreGeometry {
    int rows = 0;             // row intervals the height is divided into (5, 11, 8)
    double stemFactor = 1.0;  // F (1.0, 1.85, 1.45)
    double colw = 0;          // W / 64
    double rowh = 0;          // H / rows
    int stemBase = 0;         // S
    int rise = 0;             // stem rise above the highest note of a slot
    int gap = 0;              // distance of the second beam below the first
    int flagStep = 0;         // h: vertical step of a flag stroke

    static ScoreGeometry Of(int group, int width, int height);

    // Upper and lower end of a rest glyph drawn for the lowest note position `lowest`.
    int RestTop(int lowest) const;
    int RestBottom(int lowest) const;
};

// Lays out one staff of the score view as a list of drawing primitives: the grid (background,
// bar lines, staff lines) and the notes, stems, beams, flags, dots and rests of one page of 64
// time steps. Pure computation on the caller's thread; the result does not refer to the
// inputs. Draw the primitives with ScorePainter.
//
// Groups that hold more bells than the staff has room for keep the placement rule: their
// highest notes lie on or above the top edge (partly or wholly outside the image) and still
// take part in stems, beams and rests like any other note. A time step may carry any number of
// marks; all of them are drawn.
class ScoreLayout {
  public:
    static constexpr int kStepsPerPage = 64;
    static constexpr int kStepsPerBar = 16;
    static constexpr int kStepsPerHalfBar = 8;
    static constexpr int kStepsPerBeat = 4;
    static const QColor kMusicColor;  // maroon (128, 0, 0)
    static const QColor kGridColor;   // black

    explicit ScoreLayout(const ScoreStaff& staff);

    const ScoreStaff& Staff() const { return staff_; }
    const ScoreGeometry& Geometry() const { return geo_; }

    // The grid alone (what a staff shows with no notes): fills the image with the background,
    // then bar lines and staff lines in black.
    ScorePrimitives Grid() const;
    // The notes and rests of page `page` (0-based; page p holds time steps 64p to 64p + 63) of
    // the group step list `steps` (one line per time step, comma-separated marks). A page
    // beyond the end, or a negative one, gives an empty list.
    ScorePrimitives Page(const QStringList& steps, int page);
    // Grid() followed by Page().
    ScorePrimitives Draw(const QStringList& steps, int page);

    // Number of score pages of a chime of `stepCount` time steps: ceil(stepCount / 64), at
    // least 1.
    static int PageCount(qsizetype stepCount);
    // Centre x of the note head of page column `column` (0 to 63).
    int NoteX(int column) const;
    // Centre y of the note head of a bell of rank `rank` on this staff.
    int NoteY(int rank) const;

  private:
    struct Slot {
        bool occupied = false;  // a note was registered in this time step
        QPoint attach;          // stem attach point of the last registered note
        int lowest = 0;         // Lj: largest y of the step's registered notes
        int highest = 0;        // Hj: smallest y of the step's registered notes
    };
    struct RunResult {
        bool empty = false;     // none of the run's existing steps sounds
        bool complete = false;  // every step of the run exists
    };

    RunResult TestRun(qsizetype first, int count) const;
    bool SoundsAhead(qsizetype step, int count) const;
    void DrawStep(qsizetype step, int column);
    void DrawBeat();
    void ClearSlots();

    // Glyphs of rests and note decorations, appended to out_.
    void WholeRest(QPoint anchor);
    void HalfRest(QPoint anchor);
    void QuarterRest(QPoint anchor);
    void EighthRest(int x1, int w, int y1, int y2);
    void SixteenthRest(int x1, int w, int y1, int y2);
    void Stem(int slot, int top);
    void Beam(int from, int to, int top);
    void SecondBeam(int fromX, int toX, int top);
    void Flag(int slot, int w, bool twice);
    void Dot(QPoint centre);
    void Head(QPoint centre, bool hollow);
    void Line(QPoint from, QPoint to, int width);

    ScoreStaff staff_;
    ScoreGeometry geo_;

    // State of one page pass.
    const QStringList* steps_ = nullptr;
    ScorePrimitives out_;
    std::array<Slot, kStepsPerBeat> slots_{};
    QList<int> positions_;       // y per mark index of the current step
    QList<bool> positionUsed_;   // whether that mark index holds a registered note
    int beat_ = 0;               // 1 to 4 within the beat being collected, 0 between beats
    bool wholeNoteFlag_ = true;  // false after a whole note, until the next bar begins
    bool restAllowed_ = true;    // false while a half or whole note is sounding
    bool barEmpty_ = false;      // result of the whole-rest test of the current bar
    bool halfEmpty_ = false;     // result of the half-rest test of the current half bar
    int beatStart_ = 0;          // R
    QPoint quarterAnchor_;
    QPoint wholeAnchor_;
    QPoint halfAnchor_;
};

}  // namespace orvane
