#include "score/core/PrintPage.h"
#include "score/core/PrintSheet.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QPainter>

using namespace orvane;

namespace {

// Writing text needs a GUI application (offscreen).
void EnsureGuiApp() {
    if (QCoreApplication::instance()) {
        return;
    }
    static int argc = 1;
    static char name[] = "score-tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

}  // namespace

TEST(PrintFit, ProductThenDivisionRoundsHalvesToEven) {
    EXPECT_EQ(MulDivRound(7, 3, 2), 10);  // 10.5
    EXPECT_EQ(MulDivRound(5, 3, 2), 8);   // 7.5
    EXPECT_EQ(MulDivRound(10, 1, 3), 3);  // 3.33
    EXPECT_EQ(MulDivRound(20, 1, 3), 7);  // 6.67
    // The product does not fit 32 bits.
    EXPECT_EQ(MulDivRound(70000, 70000, 100000), 49000);
}

TEST(PrintFit, WiderPictureTakesThePaperWidthNarrowerTheHeight) {
    // 1000 x 500 (2.0) on 3000 x 2000 (1.5): full width, 500 * 3000 / 1000.
    EXPECT_EQ(FitToPage({1000, 500}, {3000, 2000}), QSize(3000, 1500));
    // 600 x 700 on 13200 x 9300: full height, 600 * 9300 / 700 = 7971.43.
    EXPECT_EQ(FitToPage({600, 700}, {13200, 9300}), QSize(7971, 9300));
    // Same proportion: not wider, so the height rule (which gives the same size).
    EXPECT_EQ(FitToPage({300, 200}, {3000, 2000}), QSize(3000, 2000));
    // 3 x 2 on 5 x 5: width rule, 2 * 5 / 3 = 3.33; 2 x 3 on 5 x 5: 2 * 5 / 3 too.
    EXPECT_EQ(FitToPage({3, 2}, {5, 5}), QSize(5, 3));
    EXPECT_EQ(FitToPage({2, 3}, {5, 5}), QSize(3, 5));
    EXPECT_TRUE(FitToPage({0, 10}, {100, 100}).isEmpty());
    EXPECT_TRUE(FitToPage({10, 10}, {0, 100}).isEmpty());
}

TEST(PrintTexts, TitleNamesTheWholeChimeAndThePage) {
    EXPECT_EQ(PrintTitleText("", 1, 0), "Orvane 1.0 beta 2: ");
    EXPECT_EQ(PrintTitleText("Perebor", 1, 0), "Orvane 1.0 beta 2: \"Perebor\" ");
    EXPECT_EQ(PrintTitleText("Perebor", 3, 2), "Orvane 1.0 beta 2: \"Perebor\" (Page 3)");
    EXPECT_EQ(PrintTitleText("", 2, 0), "Orvane 1.0 beta 2: (Page 1)");
    EXPECT_EQ(PrintGroupLabel(0, ""), "Small bells: ");
    EXPECT_EQ(PrintGroupLabel(1, QString::fromUtf8("Перебор")),
              QString::fromUtf8("Medium-size bells: Перебор"));
    EXPECT_EQ(PrintGroupLabel(2, ""), "Great bells: ");
}

TEST(PrintTexts, JobFilesAreNumberedOnlyForSeveralJobs) {
    EXPECT_EQ(JobOutputFile("/tmp/a.b/score.pdf", 0, 1), "/tmp/a.b/score.pdf");
    EXPECT_EQ(JobOutputFile("/tmp/a.b/score.pdf", 1, 3), "/tmp/a.b/score-2.pdf");
    EXPECT_EQ(JobOutputFile("/tmp/score", 2, 3), "/tmp/score-3");
    EXPECT_EQ(JobOutputFile("", 2, 3), "");
}

TEST(PrintCompose, StavesGoOnWhiteWithoutTheirBackground) {
    EnsureGuiApp();
    const QColor background(240, 240, 240);
    std::array<PrintStaff, 3> staves;
    for (int g = 0; g < 3; ++g) {
        staves[g].panelSize = QSize(200, 40 + 10 * g);
        staves[g].image = QImage(staves[g].panelSize, QImage::Format_RGB32);
        staves[g].image.fill(background);
        QPainter p(&staves[g].image);
        p.setPen(QColor(128, 0, 0));
        p.drawLine(0, 5, 199, 5);
        staves[g].label = PrintGroupLabel(g, "");
    }
    // A score image smaller than its panel: the rest of the panel counts as background.
    staves[2].image = staves[2].image.copy(0, 0, 100, 30);
    const QImage page = ComposePrintPage(220, "Orvane 1.0 beta 2: ", staves, background);
    ASSERT_EQ(page.size(), QSize(220, 40 + 50 + 60 + 100));
    int y = 0;
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(page.pixelColor(10, y + 50 + 5), QColor(128, 0, 0)) << g;
        EXPECT_EQ(page.pixelColor(60, y + 50 + 20), QColor(Qt::white)) << g;
        // The label is written in black at (10, y + 30).
        bool dark = false;
        for (int yy = y + 30; yy < y + 45 && !dark; ++yy) {
            for (int xx = 10; xx < 60 && !dark; ++xx) {
                dark = qGray(page.pixel(xx, yy)) < 128;
            }
        }
        EXPECT_TRUE(dark) << g;
        y += staves[g].panelSize.height() + 20;
    }
    EXPECT_EQ(page.pixelColor(160, y - 20 - 60 + 50 + 5), QColor(Qt::white)) << "cut at 100";
    EXPECT_EQ(page.pixelColor(5, 5), QColor(Qt::white));
}

TEST(PrintSheetDrawing, ScalesTheStavesToTheTargetAndLeavesTheBackgroundWhite) {
    EnsureGuiApp();
    const QColor background(240, 240, 240);
    PrintSheet sheet;
    sheet.width = 200;
    sheet.background = background;
    sheet.title = PrintTitleText("Perebor", 1, 0);
    for (int g = 0; g < 3; ++g) {
        sheet.staves[g].panelSize = QSize(180, 40);
        sheet.staves[g].primitives = {
            ScorePrimitive::MakeFill({0, 0}, {180, 40}, background),
            ScorePrimitive::MakeLine({0, 5}, {179, 5}, 1, QColor(128, 0, 0)),
            // Outside the panel: clipped away.
            ScorePrimitive::MakeLine({0, 45}, {179, 45}, 1, QColor(128, 0, 0)),
        };
    }
    // 200 x (3 * 40 + 100): the staves fit 10 + 180 + 10.
    EXPECT_EQ(sheet.Size(), QSize(200, 220));
    sheet.staves[1].panelSize = QSize(195, 40);
    EXPECT_EQ(sheet.Size(), QSize(215, 220)) << "widened so that the staff stays on the page";
    sheet.staves[1].panelSize = QSize(180, 40);

    // Four device pixels per picture pixel.
    QImage paper(800, 1000, QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    const QRect target = sheet.PaintToFit(painter, paper.size());
    painter.end();
    EXPECT_EQ(target, QRect(0, 0, 800, 880));
    const QRgb maroon = qRgb(128, 0, 0);
    // The staff line at picture row 50 + 5 is a band of four device rows, sharp at its edges.
    int rows = 0;
    for (int y = 200; y < 240; ++y) {
        rows += paper.pixel(4 * 100, y) == maroon ? 1 : 0;
    }
    EXPECT_EQ(rows, 4);
    // The background and what lies outside the panel stay white.
    EXPECT_EQ(paper.pixel(4 * 100, 4 * 70), qRgb(255, 255, 255));
    EXPECT_EQ(paper.pixel(4 * 100, 4 * 95 + 2), qRgb(255, 255, 255));
    // The title is written in dark ink in its line at the top left.
    int ink = 0;
    for (int y = 4 * 10; y < 4 * 22; ++y) {
        for (int x = 40; x < 400; ++x) {
            ink += qGray(paper.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 200);
}
