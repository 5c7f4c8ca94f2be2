#pragma once

#include "practice/core/PracticeReport.h"

#include <QDialog>
#include <functional>

class QPrinter;
class QPushButton;

namespace orvane {

// The result of a pass: the summary table, the error plot and the progress plot, drawn by
// PracticeReport, with "Print ..." and "Save as PDF ..." that put the same report on paper or
// into a PDF file as vector graphics. User-interface thread.
class TfrmPracticeResult : public QDialog {
    Q_OBJECT

  public:
    // Asks for the printer's settings: true to print. Replaceable for tests and automation.
    using PrintDialogRunner = std::function<bool(QPrinter& printer)>;
    // Asks for the PDF file to save: empty to cancel.
    using FileAsker = std::function<QString()>;

    TfrmPracticeResult(QWidget* parent, QPrinter& printer);

    void SetReport(PracticeReport report);
    const PracticeReport& Report() const { return report_; }
    void SetPrintDialog(PrintDialogRunner runner) { printDialog_ = std::move(runner); }
    void SetFileAsker(FileAsker asker) { fileAsker_ = std::move(asker); }

    // Prints the report on one landscape page of `printer`; false when the page cannot begin.
    bool PrintTo(QPrinter& printer) const;
    // Writes the report as a one-page PDF file; false (with a message shown) when it fails.
    bool SaveAsPdf(const QString& path);

    void btnPrintClick();
    void btnPdfClick();

    QPushButton* btnPrint;
    QPushButton* btnPdf;
    QPushButton* btnClose;

  private:
    class Canvas;
    Canvas* canvas_;
    QPrinter& printer_;
    PracticeReport report_;
    PrintDialogRunner printDialog_;
    FileAsker fileAsker_;
};

}  // namespace orvane
