#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;

class QWidget;

namespace orvane {

class MainForm;
class ScoreController;
class TfrmPrint;
class TransportModel;

// Printing the score: one page picture per score page, printed in landscape and scaled to
// fit, one print job per page. Lives on the user-interface thread, owned by the main window.
//
// The print dialog is replaceable (tests, automation): it receives the printer and the page
// limits, and on acceptance leaves the chosen range in the printer (QPrinter::printRange) and
// the chosen destination (a printer, or a PDF file through QPrinter::PdfFormat and the output
// file name). When several jobs of one run go to one PDF file name, each job writes its own
// file, numbered by page (JobOutputFile), instead of overwriting the previous one.
class PrintController : public QObject {
    Q_OBJECT

public:
    // Shows the print dialog for pages minPage..maxPage; false when it was cancelled.
    using PrintDialogRunner = std::function<bool(QPrinter& printer, int minPage, int maxPage)>;

    // One print job that was sent: its title, its output file (empty for a printer), the size
    // of the picture, the printable area and the rectangle the picture was stretched into (in
    // printer pixels).
    struct PrintJob {
        QString title;
        QString outputFile;
        QSize picture;
        QSize printable;
        QRect target;
    };

    PrintController(QWidget& window, MainForm& form, TransportModel& transport, const std::unique_ptr<TfrmPrint>& frmPrint, ScoreController& score);
    ~PrintController() override;

    // Connects nPrint ("Print ...") to nPrintClick.
    void Connect();
    void SetPrintDialog(PrintDialogRunner runner);
    // The printer the dialog sets up and the jobs go to.
    QPrinter& Printer();

    // Switches the score on, asks for the pages and prints them.
    void nPrintClick();
    // Composes the page picture of the current page in the preview window and prints it.
    void PrintScorePage();
    // Prints one picture on one page in the given orientation as one job named `title`: the
    // picture is scaled to the printable area by FitToPage and placed at its top left corner.
    // Throws std::runtime_error when the job cannot begin.
    void PrintPictureToFit(const QImage& picture, QPageLayout::Orientation orientation,
                           const QString& title);
    // Draws the whole picture into the rectangle as device-independent pixels, each target
    // pixel a copy of its nearest source pixel.
    static void StretchPicture(QPainter& device, const QRect& rectangle, const QImage& picture);

    // The page picture of the current page, as the score images show it now.
    QImage ComposeScorePage() const;
    // The title of the current page.
    QString TitleText() const;
    // The number of score pages: the maximum of the page selector.
    int PageCount() const;
    // The jobs of the last nPrintClick.
    const QList<PrintJob>& Jobs() const { return jobs_; }

private:
    QWidget& window_;
    MainForm& form_;
    TransportModel& transport_;
    const std::unique_ptr<TfrmPrint>& frmPrint_;
    ScoreController& score_;
    std::unique_ptr<QPrinter> printer_;
    PrintDialogRunner dialog_;
    QList<PrintJob> jobs_;
};

}  // namespace orvane
