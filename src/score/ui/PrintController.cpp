#include "score/ui/PrintController.h"

#include "app/core/Guard.h"
#include "app/ui/TImage.h"
#include "app/ui/TfrmMain.h"
#include "chime/core/TChannels.h"
#include "score/core/PrintPage.h"
#include "score/core/ScoreLayout.h"
#include "score/ui/ScoreController.h"
#include "score/ui/TfrmPrint.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QPrintPreviewDialog>
#include <stdexcept>

namespace orvane {

namespace {

// The chime chosen in a combo box, or empty for its first entry ("Chime selection").
QString ChosenName(const QComboBox* box) {
    return box && box->currentIndex() > 0 ? box->currentText() : QString();
}

}  // namespace

PrintController::PrintController(TfrmMain& main)
    : QObject(&main), main_(main), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    dialog_ = [this](QPrinter& printer, int minPage, int maxPage) {
        return RunPrintDialog(printer, minPage, maxPage);
    };
}

PrintController::~PrintController() = default;

void PrintController::Connect() {
    connect(main_.form.nPrint, &QAction::triggered, this,
            [this] { Guarded([&] { nPrintClick(); }); });
}

void PrintController::SetPrintDialog(PrintDialogRunner runner) {
    dialog_ = std::move(runner);
}

QPrinter& PrintController::Printer() {
    return *printer_;
}

int PrintController::PageCount() const {
    return qMax(1, main_.form.udPage->maximum());
}

QString PrintController::TitleText() const {
    return PrintTitleText(ChosenName(main_.form.cbCommon), PageCount(), main_.CurrentPage);
}

QImage PrintController::ComposeScorePage() const {
    MainForm& f = main_.form;
    std::array<PrintStaff, 3> staves;
    for (int g = 0; g < 3; ++g) {
        staves[g].image = main_.score->ScorePicture(g);
        staves[g].panelSize = f.ScorePanel(g)->size();
        staves[g].label = PrintGroupLabel(g, ChosenName(main_.GroupChimeBoxes[g]));
    }
    return ComposePrintPage(f.pnlBellsBox->width(), TitleText(), staves, main_.score->Background());
}

bool PrintController::RunPrintDialog(QPrinter& printer, int minPage, int maxPage) {
    QPrintDialog dialog(&printer, &main_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(minPage, maxPage);
    dialog.setFromTo(minPage, maxPage);
    dialog.setPrintRange(QAbstractPrintDialog::Selection);
    // The preview shows the pages as they would print now: all of them, or the current one.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* preview =
            buttons->addButton(QStringLiteral("Preview ..."), QDialogButtonBox::ActionRole);
        preview->setObjectName(QStringLiteral("btnPrintPreview"));
        connect(preview, &QPushButton::clicked, &dialog, [this, &dialog] {
            Guarded([&] {
                QPrinter sheet(QPrinter::HighResolution);
                sheet.setPageLayout(printer_->pageLayout());
                sheet.setPageOrientation(QPageLayout::Landscape);
                QPrintPreviewDialog view(&sheet, &dialog);
                view.setWindowTitle(QStringLiteral("Print preview"));
                // The range as the dialog shows it now (its choice reaches the printer only
                // when the dialog is accepted).
                const auto* printAll = dialog.findChild<QRadioButton*>(QStringLiteral("printAll"));
                const bool all = printAll ? printAll->isChecked()
                                          : dialog.printRange() == QAbstractPrintDialog::AllPages;
                connect(&view, &QPrintPreviewDialog::paintRequested, &view,
                        [this, all](QPrinter* target) {
                            Guarded([&] { PaintPages(*target, all); });
                        });
                view.exec();
            });
        });
    }
    return dialog.exec() == QDialog::Accepted;
}

void PrintController::nPrintClick() {
    MainForm& f = main_.form;
    f.cbShowNotes->setChecked(true);
    main_.score->cbShowNotesClick();
    const int pages = PageCount();
    printer_->setFromTo(1, pages);
    if (!dialog_ || !dialog_(*printer_, 1, pages)) {
        return;
    }
    jobs_.clear();
    if (printer_->printRange() != QPrinter::AllPages) {
        Guarded([&] { PrintScorePage(); });
        return;
    }
    if (PrintsToFile()) {
        // One document: its pages in order, under the name chosen.
        Guarded([&] {
            QPainter painter;
            BeginDocument(painter, PrintTitleText(ChosenName(f.cbCommon), 1, 0));
            for (int page = 0; page < pages; ++page) {
                Guarded([&] {
                    main_.CurrentPage = page;
                    main_.score->RedrawScore();
                    if (page > 0) {
                        printer_->newPage();
                    }
                    PrintCurrentPage(painter);
                });
            }
            painter.end();
        });
    } else {
        for (int page = 0; page < pages; ++page) {
            Guarded([&] {
                main_.CurrentPage = page;
                main_.score->RedrawScore();
                PrintScorePage();
            });
        }
    }
    // The page selector shows the page the view was left on; the step position and the track
    // bar stay where they were.
    f.udPage->setValue(main_.CurrentPage + 1);
}

bool PrintController::PrintsToFile() const {
    return printer_->outputFormat() == QPrinter::PdfFormat ||
           !printer_->outputFileName().isEmpty();
}

void PrintController::BeginDocument(QPainter& painter, const QString& title) {
    printer_->setPageOrientation(QPageLayout::Landscape);
    printer_->setDocName(title);
    if (!painter.begin(printer_.get())) {
        throw std::runtime_error("the print job did not begin");
    }
}

PrintSheet PrintController::SheetOfPage(int page) const {
    MainForm& f = main_.form;
    PrintSheet sheet;
    sheet.width = f.pnlBellsBox->width();
    sheet.title = PrintTitleText(ChosenName(f.cbCommon), PageCount(), page);
    sheet.background = main_.score->Background();
    for (int g = 0; g < 3; ++g) {
        const QSize panel = f.ScorePanel(g)->size();
        const ScoreStaff staff{g, main_.Bells.GroupCount(g + 1), panel.width(), panel.height(),
                               f.cbGrid->isChecked(), sheet.background};
        ScoreLayout layout(staff);
        const QStringList steps = main_.Channels ? main_.Channels->GroupSteps(g) : QStringList();
        sheet.staves[g].primitives = layout.Draw(steps, page);
        sheet.staves[g].panelSize = panel;
        sheet.staves[g].label = PrintGroupLabel(g, ChosenName(main_.GroupChimeBoxes[g]));
    }
    return sheet;
}

QImage PrintController::ComposeInPreview(const QImage& page) {
    if (TfrmPrint* preview = main_.frmPrint.get()) {
        preview->move(0, 0);
        preview->resize(page.width() + 20, page.height() + 20);
        QImage blank(page.size(), QImage::Format_RGB32);
        blank.fill(Qt::white);
        preview->imgPreview->SetPicture(blank);
        preview->imgPreview->SetPicture(page);
        return preview->imgPreview->Picture();
    }
    return page;
}

void PrintController::PrintCurrentPage(QPainter& painter) {
    ComposeInPreview(ComposeScorePage());
    const PrintSheet sheet = SheetOfPage(main_.CurrentPage);
    const QSize printable(printer_->width(), printer_->height());
    const QRect target = sheet.PaintToFit(painter, printable);
    jobs_.append({sheet.title, printer_->outputFileName(), sheet.Size(), printable, target});
}

void PrintController::PrintScorePage() {
    QPainter painter;
    BeginDocument(painter, TitleText());
    PrintCurrentPage(painter);
    painter.end();
}

void PrintController::PaintPages(QPrinter& printer, bool allPages) {
    const int first = allPages ? 0 : main_.CurrentPage;
    const int last = allPages ? PageCount() - 1 : main_.CurrentPage;
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    const QSize printable(printer.width(), printer.height());
    for (int page = first; page <= last; ++page) {
        if (page > first) {
            printer.newPage();
        }
        Guarded([&] { SheetOfPage(page).PaintToFit(painter, printable); });
    }
    painter.end();
}

void PrintController::PrintPictureToFit(const QImage& picture, QPageLayout::Orientation orientation,
                                        const QString& title) {
    printer_->setPageOrientation(orientation);
    printer_->setDocName(title);
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        throw std::runtime_error("the print job did not begin");
    }
    const QSize printable(printer_->width(), printer_->height());
    const QRect target(QPoint(0, 0), FitToPage(picture.size(), printable));
    StretchPicture(painter, target, picture);
    painter.end();
    jobs_.append({title, printer_->outputFileName(), picture.size(), printable, target});
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
