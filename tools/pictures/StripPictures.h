#pragma once

#include <QImage>

// The square bell pictures of the strip and of the preview: one per catalogue bell, in the set
// and out of it.
namespace orvane::pictures {

// Side of a strip picture, pixels. The program stretches the pictures into cells of about 50
// pixels and into the larger preview.
inline constexpr int kStripPictureSide = 96;

// Lip width of a bell of `weightKg` among catalogue bells weighing from `lightestKg` to
// `heaviestKg`, pixels: the lightest bell gets the smallest clear size and the heaviest fills
// the picture; between them the width follows the logarithm of the weight.
double StripLipWidth(int weightKg, int lightestKg, int heaviestKg);

// Draws the picture of one bell. In the set: warm bronze on a light background; out of the set:
// a pale grey bell on a grey background.
QImage StripPicture(int weightKg, int lightestKg, int heaviestKg, bool inSet);

// The strip's cursor marker: a 64 x 6 orange bar with a light top edge.
QImage CursorMarker();

}  // namespace orvane::pictures
