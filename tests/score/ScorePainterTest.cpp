#include "ScoreTestUtil.h"
#include "score/core/ScoreLayout.h"
#include "score/core/ScorePainter.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvane;
using namespace orvane::test;

namespace {

const QRgb kMaroonRgb = qRgb(128, 0, 0);
const QRgb kBackgroundRgb = kBackground.rgb();

QImage Canvas(const ScorePrimitives& primitives, int w = 40, int h = 30) {
    ScorePrimitives all{ScorePrimitive::MakeFill({0, 0}, {w, h}, kBackground)};
    all << primitives;
    return ScorePainter::Render(w, h, all);
}

// The columns of row y that hold colour c ('#') or not ('.').
std::string Row(const QImage& image, int y, QRgb c) {
    std::string s;
    for (int x = 0; x < image.width(); ++x) {
        s += image.pixel(x, y) == c ? '#' : '.';
    }
    return s;
}

}  // namespace

TEST(ScorePainter, HeadCoversItsCornersAndIsCentredOnTheNote) {
    const QImage image = Canvas({Head(10, 10), Head(25, 10, true)});
    // Outline from X - 3 to X + 3 on the middle row, Y - 2 to Y + 2 in the middle column.
    EXPECT_EQ(Row(image, 10, kMaroonRgb).substr(5, 25), "..#######........#.....#.");
    for (int y = 7; y <= 13; ++y) {
        const bool inside = y >= 8 && y <= 12;
        EXPECT_EQ(image.pixel(10, y) == kMaroonRgb, inside) << y;
    }
    EXPECT_EQ(image.pixel(25, 10), kBackgroundRgb);  // hollow head
    EXPECT_EQ(image.pixel(25, 8), kMaroonRgb);
    EXPECT_EQ(image.pixel(25, 12), kMaroonRgb);
}

TEST(ScorePainter, LinesKeepBothEndsAndTheirWidth) {
    const QImage image = Canvas({Line(5, 20, 5, 4), Line(10, 6, 20, 6, 2)});
    for (int y = 3; y <= 21; ++y) {
        EXPECT_EQ(image.pixel(5, y) == kMaroonRgb, y >= 4 && y <= 20) << y;
    }
    // A 2-pixel line covers two rows.
    int rows = 0;
    for (int y = 3; y <= 9; ++y) {
        rows += image.pixel(15, y) == kMaroonRgb;
    }
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(image.pixel(10, 6), kMaroonRgb);
    EXPECT_EQ(image.pixel(20, 6), kMaroonRgb);
}

TEST(ScorePainter, RestRectanglesAndFillCoverExactPixels) {
    const QImage image = Canvas({ScorePrimitive::MakeRect({12, 10}, {24, 14}, kMaroon, kMaroon)});
    EXPECT_EQ(Row(image, 12, kMaroonRgb),
              std::string(12, '.') + std::string(13, '#') + std::string(15, '.'));
    EXPECT_EQ(image.pixel(18, 9), kBackgroundRgb);
    EXPECT_EQ(image.pixel(18, 14), kMaroonRgb);
    EXPECT_EQ(image.pixel(18, 15), kBackgroundRgb);
    // The fill leaves nothing of the underlying white.
    EXPECT_EQ(image.pixel(39, 29), kBackgroundRgb);
}

TEST(ScorePainter, StaffImageShowsGridAndNotes) {
    QStringList steps;
    steps << "s1"
          << ""
          << "s2"
          << "";
    ScoreLayout layout({0, 4, 418, 73, true, kBackground});
    const QImage image = ScorePainter::Render(418, 73, layout.Draw(steps, 0));
    EXPECT_EQ(image.pixel(200, 15), qRgb(0, 0, 0));  // staff line of s1
    EXPECT_EQ(image.pixel(200, 0), kBackgroundRgb);  // simplified: no top line
    EXPECT_EQ(image.pixel(104, 5), qRgb(0, 0, 0));   // bar line
    EXPECT_EQ(image.pixel(7, 15), kMaroonRgb);       // head on the line
    EXPECT_EQ(image.pixel(9, 0), kMaroonRgb);        // stem of the eighth pair
}
