#include "practice/ui/TfrmPracticeResult.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace orvane {

// Draws the report at the widget's size on a white page.
class TfrmPracticeResult::Canvas : public QWidget {
  public:
    Canvas(QWidget* parent, const PracticeReport& report) : QWidget(parent), report_(report) {
        setObjectName(QStringLiteral("wPracticeReport"));
        setMinimumSize(900, 640);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        report_.Paint(p, QRectF(rect()).adjusted(8, 8, -8, -8));
    }

  private:
    const PracticeReport& report_;
};

TfrmPracticeResult::TfrmPracticeResult(QWidget* parent, QPrinter& printer) : QDialog(parent), printer_(printer) {
    setObjectName(QStringLiteral("frmPracticeResult"));
    setWindowTitle(QStringLiteral("Ring along: result"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    canvas_ = new Canvas(this, report_);
    layout->addWidget(canvas_, 1);
    auto* buttons = new QHBoxLayout;
    btnPrint = new QPushButton(QStringLiteral("Print ..."), this);
    btnPrint->setObjectName(QStringLiteral("btnPracticePrint"));
    btnPdf = new QPushButton(QStringLiteral("Save as PDF ..."), this);
    btnPdf->setObjectName(QStringLiteral("btnPracticePdf"));
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnPracticeResultClose"));
    buttons->addStretch(1);
    for (QPushButton* b : {btnPrint, btnPdf, btnClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(btnPrint, &QPushButton::clicked, this, &TfrmPracticeResult::btnPrintClick);
    connect(btnPdf, &QPushButton::clicked, this, &TfrmPracticeResult::btnPdfClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    resize(1000, 760);
}

void TfrmPracticeResult::SetReport(PracticeReport report) {
    report_ = std::move(report);
    canvas_->update();
}

bool TfrmPracticeResult::PrintTo(QPrinter& printer) const {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Ring along: %1").arg(report_.record.chime));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // The page in device-independent units of 1000 across, the report's own layout width.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target(0, 0, page.width(), page.height());
    report_.Paint(painter, target);
    return painter.end();
}

bool TfrmPracticeResult::SaveAsPdf(const QString& path) {
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    if (!PrintTo(pdf)) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The result cannot be saved as %1.").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

void TfrmPracticeResult::btnPrintClick() {
    const bool accepted = printDialog_ ? printDialog_(printer_) : [&] {
        QPrintDialog dialog(&printer_, this);
        dialog.setWindowTitle(QStringLiteral("Print the result"));
        return dialog.exec() == QDialog::Accepted;
    }();
    if (accepted && !PrintTo(printer_)) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("The result cannot be printed."));
    }
}

void TfrmPracticeResult::btnPdfClick() {
    const QString path = fileAsker_ ? fileAsker_() : QFileDialog::getSaveFileName(
        this, QStringLiteral("Save as PDF"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/ring-along.pdf"),
        QStringLiteral("PDF documents (*.pdf)"));
    if (!path.isEmpty()) {
        SaveAsPdf(path);
    }
}

}  // namespace orvane
