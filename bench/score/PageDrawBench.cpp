#include "BenchRegistry.h"
#include "BenchStats.h"
#include "score/core/ScoreLayout.h"
#include "score/core/ScorePainter.h"

#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <algorithm>
#include <array>
#include <vector>

namespace {

// Occupancy of each beat of a bar, slot 0 first: all fifteen beat patterns and four
// sixteenths, so every step of a page sounds somewhere on at least one staff.
constexpr std::array<int, 16> kPatterns = {0b1000, 0b1010, 0b1111, 0b1110, 0b1011, 0b1101,
                                           0b1001, 0b1100, 0b0100, 0b0110, 0b0111, 0b0010,
                                           0b0011, 0b0101, 0b0001, 0b1111};

// A dense page for one group: the patterns above, with two- and three-note chords.
QStringList DensePage(QChar letter, int bells) {
    QStringList steps;
    for (int beat = 0; beat < 16; ++beat) {
        for (int slot = 0; slot < 4; ++slot) {
            QString line;
            if (kPatterns[beat] & (8 >> slot)) {
                const int chord = 1 + (beat + slot) % 3;
                for (int k = 0; k < chord; ++k) {
                    if (!line.isEmpty()) {
                        line += ',';
                    }
                    line += letter;
                    line += QString::number(1 + (beat * 3 + slot + k * 2) % bells);
                }
            }
            steps.append(line);
        }
    }
    return steps;
}

// Layout and painting of the three staves of one page at the sizes of a 1280 x 800 window, into
// images in memory: nothing reaches the screen (see score_redraw_x11_ms for the shown redraw).
void PageDraw() {
    const QColor background(240, 240, 240);
    constexpr int kWidth = 900;
    constexpr int kHeight = 200;
    const std::array<QStringList, 3> steps = {DensePage('s', 4), DensePage('m', 10),
                                              DensePage('b', 7)};
    const std::array<int, 3> bells = {4, 10, 7};
    std::array<QImage, 3> images;
    for (QImage& image : images) {
        image = QImage(kWidth, kHeight, QImage::Format_RGB32);
    }
    std::vector<double> ms;
    for (int round = 0; round < 300; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int g = 0; g < 3; ++g) {
            orvane::ScoreLayout layout({g, bells[g], kWidth, kHeight, false, background});
            orvane::ScorePainter::Paint(images[g], layout.Draw(steps[g], 0));
        }
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    bench::PrintSpread("page_draw_image_ms", ms, "ms");
}

// Also run by its former name, page_draw_ms.
const bench::Register kRegister({"page_draw_image_ms", "page_draw_ms"}, PageDraw);

}  // namespace
