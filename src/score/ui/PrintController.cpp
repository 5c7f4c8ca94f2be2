#include "score/ui/PrintController.h"

#include "app/core/Guard.h"
#include "app/ui/MainForm.h"
#include "app/ui/TImage.h"
#include "chime/core/TransportModel.h"
#include "score/core/PrintPage.h"
#include "score/ui/ScoreController.h"
#include "score/ui/TfrmPrint.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <stdexcept>

namespace orvane {

namespace {

bool RunPrintDialog(QPrinter& printer, int minPage, int maxPage, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(minPage, maxPage);
    dialog.setFromTo(minPage, maxPage);
    dialog.setPrintRange(QAbstractPrintDialog::Selection);
    return dialog.exec() == QDialog::Accepted;
}

// The chime chosen in a combo box, or empty for its first entry ("Chime selection").
QString ChosenName(const QComboBox* box) {
    return box && box->currentIndex() > 0 ? box->currentText() : QString();
}

}  // namespace

PrintController::PrintController(QWidget& window, MainForm& form, TransportModel& transport, const std::unique_ptr<TfrmPrint>& frmPrint, ScoreController& score)
    : window_(window), form_(form), transport_(transport), frmPrint_(frmPrint), score_(score) {
    dialog_ = [this](QPrinter& printer, int minPage, int maxPage) {
        return RunPrintDialog(printer, minPage, maxPage, &window_);
    };
}

PrintController::~PrintController() = default;

void PrintController::Connect() {
    Wire(form_.nPrint, &QAction::triggered, this, &PrintController::nPrintClick);
}

void PrintController::SetPrintDialog(PrintDialogRunner runner) {
    dialog_ = std::move(runner);
}

QPrinter& PrintController::Printer() {
    // Made on first use: a printer asks the print system for its printers, which start-up
    // need not wait for.
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

int PrintController::PageCount() const {
    return qMax(1, form_.udPage->maximum());
}

QString PrintController::TitleText() const {
    return PrintTitleText(ChosenName(form_.cbCommon), PageCount(), transport_.CurrentPage);
}

QImage PrintController::ComposeScorePage() const {
    MainForm& f = form_;
    std::array<PrintStaff, 3> staves;
    for (int g = 0; g < 3; ++g) {
        staves[g].image = score_.ScorePicture(g);
        staves[g].panelSize = f.ScorePanel(g)->size();
        staves[g].label = PrintGroupLabel(g, ChosenName(form_.GroupChimeBoxes[g]));
    }
    return ComposePrintPage(f.pnlBellsBox->width(), TitleText(), staves, score_.Background());
}

void PrintController::nPrintClick() {
    MainForm& f = form_;
    f.cbShowNotes->setChecked(true);
    score_.cbShowNotesClick();
    const int pages = PageCount();
    Printer().setFromTo(1, pages);
    if (!dialog_ || !dialog_(Printer(), 1, pages)) {
        return;
    }
    jobs_.clear();
    const QString chosenFile = Printer().outputFileName();
    if (Printer().printRange() != QPrinter::AllPages) {
        Guarded([&] { PrintScorePage(); });
        return;
    }
    for (int page = 0; page < pages; ++page) {
        Guarded([&] {
            transport_.CurrentPage = page;
            score_.RedrawScore();
            if (!chosenFile.isEmpty()) {
                Printer().setOutputFileName(JobOutputFile(chosenFile, page, pages));
            }
            PrintScorePage();
        });
    }
    Printer().setOutputFileName(chosenFile);
    // The page selector shows the page the view was left on; the step position and the track
    // bar stay where they were.
    f.udPage->setValue(transport_.CurrentPage + 1);
}

void PrintController::PrintScorePage() {
    const QImage page = ComposeScorePage();
    const QString title = TitleText();
    QImage picture = page;
    if (TfrmPrint* preview = frmPrint_.get()) {
        preview->move(0, 0);
        preview->resize(page.width() + 20, page.height() + 20);
        QImage blank(page.size(), QImage::Format_RGB32);
        blank.fill(Qt::white);
        preview->imgPreview->SetPicture(blank);
        preview->imgPreview->SetPicture(page);
        picture = preview->imgPreview->Picture();
    }
    PrintPictureToFit(picture, QPageLayout::Landscape, title);
}

void PrintController::PrintPictureToFit(const QImage& picture, QPageLayout::Orientation orientation,
                                        const QString& title) {
    Printer().setPageOrientation(orientation);
    Printer().setDocName(title);
    QPainter painter;
    if (!painter.begin(&Printer())) {
        throw std::runtime_error("the print job did not begin");
    }
    const QSize printable(Printer().width(), Printer().height());
    const QRect target(QPoint(0, 0), FitToPage(picture.size(), printable));
    StretchPicture(painter, target, picture);
    painter.end();
    jobs_.append({title, Printer().outputFileName(), picture.size(), printable, target});
}

void PrintController::StretchPicture(QPainter& device, const QRect& rectangle,
                                     const QImage& picture) {
    if (picture.isNull() || rectangle.isEmpty()) {
        return;
    }
    device.save();
    device.setRenderHint(QPainter::SmoothPixmapTransform, false);
    device.drawImage(rectangle, picture.convertToFormat(QImage::Format_RGB32));
    device.restore();
}

}  // namespace orvane
