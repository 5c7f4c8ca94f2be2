#include "score/ui/PrintController.h"

#include "app/core/Guard.h"
#include "app/ui/TImage.h"
#include "app/core/ProgramData.h"
#include "app/ui/TPanel.h"
#include "catalogue/core/BellSetModel.h"
#include "chime/core/TransportModel.h"
#include "chime/core/TransportRequests.h"
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

PrintController::PrintController(QWidget& window, PrintWidgets widgets, ProgramData& data,
                                 BellSetModel& bells, const TransportModel& transport,
                                 TransportRequests& requests,
                                 const std::unique_ptr<TfrmPrint>& frmPrint, ScoreController& score)
    : window_(window), widgets_(widgets), data_(data), bells_(bells), transport_(transport), requests_(requests),
      frmPrint_(frmPrint), score_(score) {
    dialog_ = [this](QPrinter& printer, int minPage, int maxPage) {
        return RunPrintDialog(printer, minPage, maxPage);
    };
}

PrintController::~PrintController() = default;

void PrintController::Connect() {
    Wire(widgets_.nPrint, &QAction::triggered, this, &PrintController::nPrintClick);
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
    return qMax(1, widgets_.udPage->maximum());
}

QString PrintController::TitleText() const {
    return PrintTitleText(ChosenName(widgets_.cbCommon), PageCount(), transport_.CurrentPage);
}

QImage PrintController::ComposeScorePage() const {
    const PrintWidgets& f = widgets_;
    std::array<PrintStaff, 3> staves;
    for (int g = 0; g < 3; ++g) {
        staves[g].image = score_.ScorePicture(g);
        staves[g].panelSize = f.ScorePanels[g]->size();
        staves[g].label = PrintGroupLabel(g, ChosenName(widgets_.GroupChimeBoxes[g]));
    }
    return ComposePrintPage(f.pnlBellsBox->width(), TitleText(), staves, score_.Background());
}

bool PrintController::RunPrintDialog(QPrinter& printer, int minPage, int maxPage) {
    QPrintDialog dialog(&printer, &window_);
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
                sheet.setPageLayout(Printer().pageLayout());
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
    const PrintWidgets& f = widgets_;
    f.cbShowNotes->setChecked(true);
    score_.cbShowNotesClick();
    const int pages = PageCount();
    Printer().setFromTo(1, pages);
    if (!dialog_ || !dialog_(Printer(), 1, pages)) {
        return;
    }
    jobs_.clear();
    if (Printer().printRange() != QPrinter::AllPages) {
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
                    requests_.RequestPage(page);
                    score_.RedrawScore();
                    if (page > 0) {
                        Printer().newPage();
                    }
                    PrintCurrentPage(painter);
                });
            }
            painter.end();
        });
    } else {
        for (int page = 0; page < pages; ++page) {
            Guarded([&] {
                requests_.RequestPage(page);
                score_.RedrawScore();
                PrintScorePage();
            });
        }
    }
    // The page selector shows the page the view was left on; the step position and the track
    // bar stay where they were.
    f.udPage->setValue(transport_.CurrentPage + 1);
}

bool PrintController::PrintsToFile() {
    return Printer().outputFormat() == QPrinter::PdfFormat ||
           !Printer().outputFileName().isEmpty();
}

void PrintController::BeginDocument(QPainter& painter, const QString& title) {
    Printer().setPageOrientation(QPageLayout::Landscape);
    Printer().setDocName(title);
    if (!painter.begin(&Printer())) {
        throw std::runtime_error("the print job did not begin");
    }
}

PrintSheet PrintController::SheetOfPage(int page) const {
    const PrintWidgets& f = widgets_;
    PrintSheet sheet;
    sheet.width = f.pnlBellsBox->width();
    sheet.title = PrintTitleText(ChosenName(f.cbCommon), PageCount(), page);
    sheet.background = score_.Background();
    for (int g = 0; g < 3; ++g) {
        const QSize panel = f.ScorePanels[g]->size();
        const ScoreStaff staff{g, bells_.Bells.GroupCount(g + 1), panel.width(), panel.height(),
                               f.cbGrid->isChecked(), sheet.background};
        ScoreLayout layout(staff);
        const QStringList steps = data_.Channels ? data_.Channels->GroupSteps(g) : QStringList();
        sheet.staves[g].primitives = layout.Draw(steps, page);
        sheet.staves[g].panelSize = panel;
        sheet.staves[g].label = PrintGroupLabel(g, ChosenName(widgets_.GroupChimeBoxes[g]));
    }
    return sheet;
}

QImage PrintController::ComposeInPreview(const QImage& page) {
    if (TfrmPrint* preview = frmPrint_.get()) {
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
    const PrintSheet sheet = SheetOfPage(transport_.CurrentPage);
    const QSize printable(Printer().width(), Printer().height());
    const QRect target = sheet.PaintToFit(painter, printable);
    jobs_.append({sheet.title, Printer().outputFileName(), sheet.Size(), printable, target});
}

void PrintController::PrintScorePage() {
    QPainter painter;
    BeginDocument(painter, TitleText());
    PrintCurrentPage(painter);
    painter.end();
}

void PrintController::PaintPages(QPrinter& printer, bool allPages) {
    const int first = allPages ? 0 : transport_.CurrentPage;
    const int last = allPages ? PageCount() - 1 : transport_.CurrentPage;
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
