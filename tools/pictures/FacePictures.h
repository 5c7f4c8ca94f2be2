#pragma once

#include <QImage>
#include <QString>

#include <vector>

// The bell faces beside the score panels: for every picture row a rest frame and seven struck
// frames in two views, plus the chord and the disabled pictures. All are kFaceWidth x kFaceHeight.
namespace orvane::pictures {

inline constexpr int kFaceWidth = 129;
inline constexpr int kFaceHeight = 60;
inline constexpr int kFaceFrames = 8;  // frame 0 is the rest picture, frames 1 to 7 a struck bell

enum class FaceView { General, Schematic };

// Where the ropes tied to the clapper tails lead.
enum class RopeLead {
    Hand,    // all to the ringer's hand at the lower left (the small bells)
    Rail,    // to a rail below the bells (the medium-size bells)
    Pedals,  // straight down to the pedals (the great bells)
};

struct FaceRow {
    QString prefix;                 // file name prefix: "s", "m", "b", "3s"
    std::vector<double> lipWidths;  // one per bell, pixels, bell 1 first
    RopeLead ropes = RopeLead::Hand;
};

// The four picture rows: "s" (seven small bells), "m" (seven medium-size bells), "b" (seven
// great bells, the heaviest first) and "3s" (three small bells).
const std::vector<FaceRow>& FaceRows();

// File name of a frame, relative to the animation folder: prefix + "_" + frame + ".bmp" in the
// general view, "l" + prefix + "_" + frame + ".bmp" in the schematic view.
QString FaceFileName(const FaceRow& row, FaceView view, int frame);

// Frame 0 shows the row at rest; frame n shows bell n struck. A frame beyond the row's bells is
// the rest picture.
QImage FacePicture(const FaceRow& row, FaceView view, int frame);

// Centre x of every bell of the row, pixels, bell 1 first.
std::vector<double> BellCentres(const FaceRow& row);

// "All bells of the group together" on pure white (the program writes its caption at (20, 26)
// and shows white as transparent, so every pixel that is not part of the drawing is FFFFFF).
QImage ChordPicture();

// Greyed bells on pure white (the program writes its caption at (10, 26)).
QImage DisabledPicture();

}  // namespace orvane::pictures
