#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>

// The program's icon for the desktop menu: a bronze bell on a deep blue rounded square, as
// bitmaps of the usual theme sizes and as one scalable drawing.
namespace orvane::pictures {

// Edge lengths, pixels, of the bitmap icons that the theme folders hold.
inline constexpr std::array<int, 8> kIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon as a square ARGB picture of `size` pixels (size >= 8); transparent outside the
// rounded square.
QImage IconPicture(int size);

// The same icon as an SVG document (viewBox 0 0 256 256) whose bell outline is the painter's
// own body path.
QByteArray IconSvg();

// Writes <folder>/<n>x<n>/apps/<name>.png for every size of kIconSizes and
// <folder>/scalable/apps/<name>.svg; throws std::runtime_error naming a file it cannot write.
void WriteIcons(const QString& folder, const QString& name);

}  // namespace orvane::pictures
