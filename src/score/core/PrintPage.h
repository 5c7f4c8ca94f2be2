#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <array>

namespace orvane {

// The printed score page: its texts, its composition from the three score images and the rule
// that scales it onto the paper. Pure computation on the caller's thread (QtGui only).

// Where the parts of a printed page stand, in page-picture pixels: the title at
// (kPrintLeft, kPrintTitleTop), a staff's label kPrintLabelTop and its image kPrintStaffTop
// below the top of its band, bands kPrintStaffGap apart; the page is kPrintExtraHeight taller
// than its staves. Texts are set in kPrintFontPointSize points.
inline constexpr int kPrintLeft = 10;
inline constexpr int kPrintTitleTop = 10;
inline constexpr int kPrintLabelTop = 30;
inline constexpr int kPrintStaffTop = 50;
inline constexpr int kPrintStaffGap = 20;
inline constexpr int kPrintExtraHeight = 100;
inline constexpr int kPrintFontPointSize = 8;

// a × b / c with a 64-bit intermediate, rounded to the nearest integer, halves to even.
// Arguments must be non-negative and c positive.
qint64 MulDivRound(qint64 a, qint64 b, qint64 c);

// The size a picture takes on a printable area: when the picture is wider in proportion than
// the area (compared as real numbers) it takes the full width, otherwise the full height; the
// other side keeps the picture's proportion. An empty picture or area gives an empty size.
QSize FitToPage(QSize picture, QSize printable);

// "Orvane 1.0 beta 2: ", then `chimeName` in double quotation marks and a blank when a whole
// chime is chosen (non-empty name), then "(Page n)" (n = page + 1, page 0-based) when the
// score has more than one page. The same text names the print job.
QString PrintTitleText(const QString& chimeName, int pageCount, int page);

// "Small bells: ", "Medium-size bells: " or "Great bells: " for group 0, 1, 2, followed by
// the name of the study chime chosen for the group (if any).
QString PrintGroupLabel(int group, const QString& chimeName);

// One staff of a page: the score image as drawn, the client size of its staff panel, and its
// label text.
struct PrintStaff {
    QImage image;
    QSize panelSize;
    QString label;
};

// The page picture: `width` wide and as high as the three panel heights together plus 100,
// white; the title at (10, 10) and per group the label at (10, y + 30) and the staff at
// (10, y + 50), y growing by the panel height + 20 per group. Each staff is cut to its panel
// size and its `background` pixels are left out, so only grid and notes reach the white page.
// Texts are written with a font of point size 8.
QImage ComposePrintPage(int width, const QString& title, const std::array<PrintStaff, 3>& staves,
                        QColor background);

// A copy of `image` (ARGB32) in which every pixel of exactly `color` is fully transparent.
QImage WithTransparentColor(const QImage& image, QColor color);

// The output file of the print job of page `page` (0-based) when `jobCount` jobs of one print
// run go to the file `chosen`: the chosen name itself for a single job; otherwise the page
// number is put before the suffix ("score.pdf" -> "score-2.pdf"), so that one job does not
// overwrite the other.
QString JobOutputFile(const QString& chosen, int page, int jobCount);

}  // namespace orvane
