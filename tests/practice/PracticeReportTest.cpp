#include "practice/core/ClickSound.h"
#include "practice/core/PracticePlots.h"
#include "practice/core/PracticeMarks.h"
#include "practice/core/PracticeReport.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

namespace orvane {
namespace {

// Text on a plot needs the fonts of a GUI application.
void GuiApp() {
    static int argc = 1;
    static char name[] = "practice_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        new QGuiApplication(argc, argv);
    }
}

TEST(PracticeReportTest, WordsNamesAndRows) {
    EXPECT_EQ(PracticeReport::ErrorWords(12.34), "12.3 ms behind");
    EXPECT_EQ(PracticeReport::ErrorWords(-3.0), "3.0 ms ahead");
    EXPECT_EQ(PracticeReport::ErrorWords(0.01), "on the beat");
    BellSet set;
    for (int row : {0, 1, 3, 14}) {
        set.inSet[row] = true;
    }
    set.group[0] = set.group[1] = kGreatGroup;
    set.group[3] = kMiddleGroup;
    set.group[14] = kSmallGroup;
    const auto names = PracticeReport::BellNames(set);
    EXPECT_EQ(names[0], "b1");
    EXPECT_EQ(names[1], "b2");
    EXPECT_EQ(names[3], "m1");
    EXPECT_EQ(names[14], "s1");
    EXPECT_TRUE(names[2].isEmpty());

    PracticeReport report;
    report.groups = {false, true, true};
    report.bellNames = names;
    report.summary.bells[1].notes = 4;
    report.summary.bells[14].strokes = 1;  // struck, though no note was expected of it
    const auto rows = report.Rows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].first, "Whole pass");
    EXPECT_EQ(rows[1].first, "Medium-size bells");
    EXPECT_EQ(rows[2].first, "Great bells");
    EXPECT_EQ(rows[3].first, "  Bell b2");
    EXPECT_EQ(rows[4].first, "  Bell s1");
}

TEST(PracticePlotsTest, NiceStepsAndTheDrawnBandAndPoints) {
    GuiApp();
    EXPECT_DOUBLE_EQ(PracticePlots::NiceStep(160, 6), 50);
    EXPECT_DOUBLE_EQ(PracticePlots::NiceStep(37.6, 8), 5);
    EXPECT_DOUBLE_EQ(PracticePlots::NiceStep(0, 8), 1);
    // One on-time point at 10 s, one "off" point at +70 ms at 30 s, over 40 s.
    QImage image(1000, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        PracticePlots::PaintErrors(p, QRectF(0, 0, 1000, 300),
                                   {{10.0, 0.0, NoteResult::OnTime}, {30.0, 70.0, NoteResult::Off}}, 40.0);
    }
    // The plot spans x 58..986 and y 26..260 for -80..+80 ms.
    const auto x = [](double s) { return int(58 + s / 40.0 * 928); };
    const auto y = [](double ms) { return int(260 - (ms + 80) / 160.0 * 234); };
    EXPECT_EQ(QColor(image.pixel(x(10), y(0))), PracticeMarks::ColorOf(NoteResult::OnTime));
    EXPECT_EQ(QColor(image.pixel(x(30), y(70))), PracticeMarks::ColorOf(NoteResult::Off));
    // Inside the band is shaded, outside it is not.
    const QColor inBand(image.pixel(x(20), y(10)));
    const QColor outside(image.pixel(x(20), y(40)));
    EXPECT_NE(inBand, QColor(Qt::white));
    EXPECT_EQ(outside, QColor(Qt::white));
}

TEST(PracticePlotsTest, ProgressDrawsOnlyTheLastPasses) {
    GuiApp();
    std::vector<PracticeRecord> passes(40);
    for (std::size_t i = 0; i < passes.size(); ++i) {
        passes[i].meanError = i < 10 ? 300.0 : 5.0;  // the old ones would widen the scale
        passes[i].withinOnTime = 0.5;
    }
    QImage few(800, 300, QImage::Format_RGB32);
    few.fill(Qt::white);
    QImage many = few;
    {
        QPainter p(&few);
        PracticePlots::PaintProgress(p, QRectF(0, 0, 800, 300), {passes.begin() + 10, passes.end()});
    }
    {
        QPainter p(&many);
        PracticePlots::PaintProgress(p, QRectF(0, 0, 800, 300), passes, 30);
    }
    EXPECT_EQ(few, many);
}

TEST(ClickSoundTest, AShortQuietMonoWave) {
    const QByteArray wave = ClickSound::Wave(48000);
    ASSERT_GE(wave.size(), 44);
    EXPECT_TRUE(wave.startsWith("RIFF"));
    EXPECT_EQ(wave.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(qFromLittleEndian<quint16>(wave.constData() + 22), 1);  // mono
    EXPECT_EQ(qFromLittleEndian<quint32>(wave.constData() + 24), 48000u);
    const quint32 bytes = qFromLittleEndian<quint32>(wave.constData() + 40);
    EXPECT_EQ(bytes, 1200u * 2);  // 25 ms
    EXPECT_EQ(wave.size(), 44 + qsizetype(bytes));
    int peak = 0;
    for (quint32 i = 0; i < bytes; i += 2) {
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(wave.constData() + 44 + i))));
    }
    EXPECT_GT(peak, 4000);
    EXPECT_LE(peak, 8200);  // a quarter of full scale
    EXPECT_EQ(qFromLittleEndian<qint16>(wave.constData() + 44), 0);  // no click of its own
}

}  // namespace
}  // namespace orvane
