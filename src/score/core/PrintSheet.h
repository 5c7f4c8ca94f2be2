#pragma once

#include "score/core/ScorePrimitive.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

class QPainter;

namespace orvane {

// One staff of a printed page as drawing primitives: the staff laid out at the client size of
// its staff panel (grid and notes of the page), and its label.
struct PrintSheetStaff {
    ScorePrimitives primitives;
    QSize panelSize;
    QString label;
};

// A printed score page drawn as vector graphics. Its coordinates are those of the page picture
// (ComposePrintPage): the title at (10, 10), per group the label at (10, y + 30) and the staff
// at (10, y + 50), y growing by the panel height + 20 per group, texts with a font of point
// size 8 as on a 96 dpi picture. The main window's background colour of the primitives prints
// white, as the page picture leaves it out. Pure computation and drawing on the caller's
// thread (QtGui only).
struct PrintSheet {
    int width = 0;  // the page picture's width (client width of the bells box)
    QString title;
    std::array<PrintSheetStaff, 3> staves;
    QColor background;

    // The sheet's size in page-picture pixels: as high as the page picture; as wide as the
    // page picture, or wider when a staff would otherwise run past its right edge (10 + staff
    // width + 10), so that every note lands on the paper.
    QSize Size() const;

    // Draws the sheet with its top left corner at the painter's origin, one unit per picture
    // pixel (scale the painter to the target first). Texts are real text. Staves are clipped
    // to their panel size. The painter's state is restored.
    void Paint(QPainter& painter) const;

    // Draws the sheet scaled to fit the painter's device (FitToPage on `printable`, placed at
    // its top left corner) and returns the rectangle it took, in device pixels.
    QRect PaintToFit(QPainter& painter, QSize printable) const;
};

}  // namespace orvane
