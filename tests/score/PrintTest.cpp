#include "app/ui/TImage.h"
#include "score/ui/PrintController.h"
#include "score/ui/ScoreController.h"
#include "score/core/ScoreLayout.h"
#include "score/ScoreRig.h"
#include "score/ScoreWindowUtil.h"
#include "score/ui/TfrmPrint.h"
#include "support/ChimeRig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace orvane;

namespace {

// Pages of a PDF file written by Qt.
int PdfPages(const QString& path) {
    const QByteArray pdf = ProgramFolder::Read(path);
    if (!pdf.startsWith("%PDF")) {
        return -1;
    }
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

// The text of a PDF file as pdftotext reads it.
QString PdfText(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// The number of images in a PDF file as pdfimages lists them (-1 when it cannot read it).
int PdfImageCount(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
    tool.waitForFinished(30000);
    if (tool.exitCode() != 0) {
        return -1;
    }
    // Two header lines, then one line per image.
    const QStringList lines =
        QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    return static_cast<int>(lines.size()) - 2;
}

// The print controller and its preview window built from their collaborators alone, beside
// the score view.
struct PrintRig : ScoreRig {
    explicit PrintRig(const ProgramFolder& folder)
        : ScoreRig(folder),
          printController(window, PrintWidgetsOf(form), data, bellModel, transportModel, transportOwner, frmPrint, controller) {
        frmPrint = std::make_unique<TfrmPrint>(&window);
        printController.Connect();
    }

    std::unique_ptr<TfrmPrint> frmPrint;
    PrintController printController;
    PrintController* const print = &printController;
};

// The print controller and its preview window on the chime rig, connected after its start as
// in the main window.
struct ChimePrintRig : ChimeRig {
    explicit ChimePrintRig(const ProgramFolder& folder)
        : ChimeRig(folder),
          printController(window, PrintWidgetsOf(form), data, bellModel, transportModel,
                          playerController, frmPrint, scoreController) {}

    void Start() {
        ChimeRig::Start();
        frmPrint = std::make_unique<TfrmPrint>(&window);
        Guarded([this] { printController.Connect(); });
    }

    std::unique_ptr<TfrmPrint> frmPrint;
    PrintController printController;
    PrintController* const print = &printController;
};

template <class Base>
class PrintHelpers : public Base {
protected:
    auto StartWithChime(int steps) {
        auto w = this->Start();
        SetBells(*w, {0}, {1, 2, 3, 4}, {12, 13, 14});
        LoadWholeChime(*w, WriteChime(this->folder.Path("test.kol"), "200", SteadySteps(steps)));
        w->form.cbCommon->clear();
        w->form.cbCommon->addItems({"Chime selection", "Festive chime"});
        w->form.cbCommon->setCurrentIndex(1);
        w->form.udPage->setMaximum(ScoreLayout::PageCount(steps));
        w->form.tbProgress->SetMax(steps - 1);
        w->CurrentPage = 0;
        w->score->RedrawScore();
        return w;
    }

    // The dialog the user would fill in: print to a PDF file with the given range.
    template <class W>
    void ChoosePdf(W& w, QPrinter::PrintRange range) {
        w.print->SetPrintDialog([this, range](QPrinter& printer, int minPage, int maxPage) {
            dialogLimits = {minPage, maxPage};
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out.filePath("score.pdf"));
            printer.setPrintRange(range);
            return true;
        });
    }

    QTemporaryDir out;
    std::pair<int, int> dialogLimits{0, 0};
};

// The markers and the group chime boxes: printing beside the controllers of the chime rig.
using Printing = PrintHelpers<ChimeRigFixtureOf<ChimePrintRig>>;
using PrintingAlone = PrintHelpers<RigFixture<PrintRig>>;

TEST_F(PrintingAlone, OnePageChimeOneJobTitledWithoutPageNumber) {
    auto w = StartWithChime(60);
    ChoosePdf(*w, QPrinter::AllPages);
    w->print->nPrintClick();
    EXPECT_EQ(dialogLimits, std::make_pair(1, 1));
    const auto& jobs = w->print->Jobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(jobs[0].title, "Orvane 1.0 beta 2: \"Festive chime\" ");
    EXPECT_EQ(jobs[0].outputFile, out.filePath("score.pdf"));
    EXPECT_EQ(PdfPages(out.filePath("score.pdf")), 1);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(PrintingAlone, AllPagesOfAThreePageChimeToAFileAreOneDocumentInLandscape) {
    auto w = StartWithChime(150);
    ChoosePdf(*w, QPrinter::AllPages);
    w->print->nPrintClick();
    EXPECT_EQ(dialogLimits, std::make_pair(1, 3));
    const auto& jobs = w->print->Jobs();
    ASSERT_EQ(jobs.size(), 3);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(jobs[p].title,
                  QStringLiteral("Orvane 1.0 beta 2: \"Festive chime\" (Page %1)").arg(p + 1));
        EXPECT_EQ(jobs[p].outputFile, out.filePath("score.pdf"));
        EXPECT_GT(jobs[p].printable.width(), jobs[p].printable.height()) << "landscape";
        EXPECT_EQ(jobs[p].target.topLeft(), QPoint(0, 0));
        EXPECT_TRUE(QRect(QPoint(0, 0), jobs[p].printable).contains(jobs[p].target));
    }
    EXPECT_EQ(PdfPages(out.filePath("score.pdf")), 3);
    EXPECT_FALSE(QFileInfo::exists(out.filePath("score-1.pdf")));
    // The pages are in order, and their texts are text.
    const QString text = PdfText(out.filePath("score.pdf"));
    const qsizetype first = text.indexOf("(Page 1)");
    const qsizetype second = text.indexOf("(Page 2)");
    const qsizetype third = text.indexOf("(Page 3)");
    EXPECT_TRUE(first >= 0 && first < second && second < third) << text.toStdString();
    for (const char* label : {"Festive chime", "Small bells:", "Medium-size bells:", "Great bells:"}) {
        EXPECT_TRUE(text.contains(label)) << label;
    }
    // No picture: the score is drawn, not pasted.
    EXPECT_EQ(PdfImageCount(out.filePath("score.pdf")), 0);
    // The view is left on the last page; the printer keeps the name the user chose.
    EXPECT_EQ(w->CurrentPage, 2);
    EXPECT_EQ(w->form.udPage->value(), 3);
    EXPECT_EQ(w->print->Printer().outputFileName(), out.filePath("score.pdf"));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(PrintingAlone, PreviewDrawsThePagesThatWouldPrintWithoutMovingTheView) {
    auto w = StartWithChime(150);
    w->CurrentPage = 1;
    for (bool all : {true, false}) {
        QPrinter sheet(QPrinter::HighResolution);
        sheet.setOutputFormat(QPrinter::PdfFormat);
        const QString file = out.filePath(all ? "all.pdf" : "one.pdf");
        sheet.setOutputFileName(file);
        sheet.setPageOrientation(QPageLayout::Landscape);
        w->print->PaintPages(sheet, all);
        EXPECT_EQ(PdfPages(file), all ? 3 : 1);
        const QString text = PdfText(file);
        EXPECT_TRUE(text.contains("(Page 2)")) << text.toStdString();
        EXPECT_EQ(text.contains("(Page 1)"), all);
    }
    EXPECT_EQ(w->CurrentPage, 1);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(PrintingAlone, PrintedPageKeepsEveryNoteOnThePaper) {
    auto w = StartWithChime(64);
    const PrintSheet sheet = w->print->SheetOfPage(0);
    // The staves are as wide as the bells box; drawn 10 pixels in, they need 10 more.
    const int staff = w->form.ScorePanel(0)->width();
    EXPECT_GE(sheet.Size().width(), 10 + staff + 10);
    EXPECT_GE(sheet.Size().width(), w->form.pnlBellsBox->width());
    // The last note of the small staff lies inside the sheet.
    int rightmost = 0;
    for (const ScorePrimitive& p : sheet.staves[0].primitives) {
        if (p.kind == ScorePrimitive::Kind::Ellipse) {
            rightmost = qMax(rightmost, p.p2.x());
        }
    }
    EXPECT_GT(rightmost, staff / 2);
    EXPECT_LT(10 + rightmost, sheet.Size().width());
}

TEST_F(PrintingAlone, PageRangeAndSelectionPrintTheCurrentPageOnly) {
    auto w = StartWithChime(150);
    w->CurrentPage = 1;
    w->score->RedrawScore();
    for (auto range : {QPrinter::PageRange, QPrinter::Selection}) {
        ChoosePdf(*w, range);
        w->print->nPrintClick();
        const auto& jobs = w->print->Jobs();
        ASSERT_EQ(jobs.size(), 1);
        EXPECT_EQ(jobs[0].title, "Orvane 1.0 beta 2: \"Festive chime\" (Page 2)");
        EXPECT_EQ(PdfPages(out.filePath("score.pdf")), 1);
        EXPECT_EQ(w->CurrentPage, 1);
    }
}

TEST_F(Printing, PrintingSwitchesTheScoreOnEvenWhenCancelled) {
    auto w = StartWithChime(60);
    QTest::mouseClick(w->form.cbShowNotes, Qt::LeftButton);
    ASSERT_TRUE(w->form.ScoreCover(0)->isVisible());
    bool asked = false;
    w->print->SetPrintDialog([&](QPrinter&, int, int) {
        asked = true;
        return false;
    });
    w->print->nPrintClick();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(w->form.cbShowNotes->isChecked());
    for (int g = 0; g < 3; ++g) {
        EXPECT_FALSE(w->form.ScoreCover(g)->isVisible()) << g;
        EXPECT_TRUE(w->Markers[g]->isVisible()) << g;
    }
    EXPECT_TRUE(w->print->Jobs().isEmpty());
}

TEST_F(Printing, PagePictureHoldsTitleLabelsAndStavesOnWhite) {
    auto w = StartWithChime(60);
    for (int g = 0; g < 3; ++g) {
        w->GroupChimeBoxes[g]->clear();
    }
    w->GroupChimeBoxes[1]->addItems({"Chime selection", "Study two"});
    w->GroupChimeBoxes[1]->setCurrentIndex(1);
    ChoosePdf(*w, QPrinter::Selection);
    w->print->nPrintClick();

    const QImage page = w->frmPrint->imgPreview->Picture();
    int staffHeights = 0;
    for (int g = 0; g < 3; ++g) {
        staffHeights += w->form.ScorePanel(g)->height();
    }
    EXPECT_EQ(page.size(), QSize(w->form.pnlBellsBox->width(), staffHeights + 100));
    EXPECT_EQ(w->frmPrint->size(), page.size() + QSize(20, 20));
    // The small staff starts at (10, 50): its top left corner is a grid crossing; the middle
    // of an empty column is the background, printed white.
    EXPECT_EQ(page.pixelColor(10, 50), QColor(Qt::black));
    const QImage small = w->score->ScorePicture(0);
    const int x = 10 + small.width() / 2 + 2;
    const int y = 50 + small.height() / 10;
    EXPECT_EQ(small.pixelColor(x - 10, y - 50), w->score->Background());
    EXPECT_EQ(page.pixelColor(x, y), QColor(Qt::white));
}

}  // namespace
