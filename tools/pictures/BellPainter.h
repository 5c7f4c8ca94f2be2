#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

// Drawing of one bell in the Russian shape: a crown of loops on a flat head, rounded shoulders,
// a nearly straight waist, the sound bow flaring out to a heavy lip, and the tail of the clapper
// hanging out of the mouth. All sizes are given by the width of the lip in pixels; the painter's
// own transform and render hints are left as they were.
namespace orvane::pictures {

// How a bell is coloured.
enum class BellLook {
    Bronze,         // cast bronze with a highlight, the bell at rest
    Struck,         // bright bronze with a glow and sound waves, the bell sounding
    Faded,          // grey and pale: a bell that is not in use
    Outline,        // schematic symbol at rest: light fill, dark outline
    OutlineStruck,  // schematic symbol sounding: warm fill, sound waves
    Ghost,          // very light grey symbol (animation switched off)
    Silhouette,     // one flat colour (the pen colour of the painter is ignored)
};

struct BellPose {
    // Rotation of the whole bell about the top of its crown, degrees, clockwise positive.
    double tiltDegrees = 0.0;
    // Where the clapper tail points: 0 straight down, -1 against the left lip, +1 against the
    // right lip. Values in between give a swinging clapper that has not reached the lip yet.
    double clapper = 0.0;
    // Colour of the flat silhouette (BellLook::Silhouette only).
    QColor silhouette = QColor(20, 24, 36);
    // Whether a struck bronze bell shines with a halo around it (BellLook::Struck only).
    bool glow = true;
    // Number of sound-wave arcs on each side of a struck bell.
    int waveRings = 2;
};

// Height of the bell from the top of the crown to the lowest point of the lip, per unit of lip
// width.
inline constexpr double kBellHeightPerWidth = 1.18;
// Height including the clapper tail below the lip, per unit of lip width.
inline constexpr double kBellHeightWithClapper = 1.32;

// The outline of the body (head to lip, without the crown) in unit coordinates: the lip is one
// unit wide and centred on x = 0, y grows downwards from the top of the crown at y = 0.
QPainterPath BellBodyPath();

// Draws a bell whose crown top is at `crownTop` and whose lip is `lipWidth` pixels wide.
void PaintBell(QPainter& painter, QPointF crownTop, double lipWidth, BellLook look,
               const BellPose& pose = {});

// Centre of the ball at the end of the clapper tail in picture coordinates, for hanging a rope
// from it.
QPointF ClapperTailEnd(QPointF crownTop, double lipWidth, const BellPose& pose = {});

}  // namespace orvane::pictures
