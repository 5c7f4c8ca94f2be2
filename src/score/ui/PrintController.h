#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

#include "score/core/PrintSheet.h"
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QPainter;
class QPrinter;
class QSpinBox;
class QWidget;

namespace orvane {

class BellSetModel;
class TPanel;
class ScoreController;
class TfrmPrint;
class TransportModel;
class TransportRequests;
struct ProgramData;

// The widgets printing reads, and the page it turns to.
// Filled from the main window's form by PrintWidgetsOf (app/ui/ControllerWidgets.h).
struct PrintWidgets {
    QAction* nPrint;
    QSpinBox* udPage;  // value written here and by the player
    QComboBox* cbCommon;
    TPanel* pnlBellsBox;
    QCheckBox* cbGrid;
    QCheckBox* cbShowNotes;  // checked here before printing; set from the settings at start-up
    std::array<TPanel*, 3> ScorePanels;
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;  // read only; created by the bell set
};

// Printing the score: one printed page per score page, in landscape and scaled to fit. The page
// picture is composed in the preview window as before; the paper gets the same page drawn as
// vector graphics (PrintSheet) at the printer's full resolution, with real text. To a printer
// every page is one print job; to a PDF file all pages of one run are one document, one page
// per score page. Lives on the user-interface thread, owned by the main window.
//
// The print dialog is replaceable (tests, automation): it receives the printer and the page
// limits, and on acceptance leaves the chosen range in the printer (QPrinter::printRange) and
// the chosen destination (a printer, or a PDF file through QPrinter::PdfFormat and the output
// file name). The program's own dialog offers a preview of what it will print.
class PrintController : public QObject {
    Q_OBJECT

public:
    // Shows the print dialog for pages minPage..maxPage; false when it was cancelled.
    using PrintDialogRunner = std::function<bool(QPrinter& printer, int minPage, int maxPage)>;

    // One printed page: its title, its output file (empty for a printer; the pages of one PDF
    // document share it), the size of the page in picture pixels, the printable area and the
    // rectangle the page was scaled into (in printer pixels).
    struct PrintJob {
        QString title;
        QString outputFile;
        QSize picture;
        QSize printable;
        QRect target;
    };

    PrintController(QWidget& window, PrintWidgets widgets, ProgramData& data, BellSetModel& bells,
                    const TransportModel& transport, TransportRequests& requests,
                    const std::unique_ptr<TfrmPrint>& frmPrint,
                    ScoreController& score);
    ~PrintController() override;

    // Connects nPrint ("Print ...") to nPrintClick.
    void Connect();
    void SetPrintDialog(PrintDialogRunner runner);
    // The printer the dialog sets up and the jobs go to.
    QPrinter& Printer();

    // Switches the score on, asks for the pages and prints them.
    void nPrintClick();
    // Composes the page picture of the current page in the preview window and prints the page
    // as one job.
    void PrintScorePage();
    // Draws the pages onto `printer` as one document: all score pages, or the current one.
    // The view is not moved. For the print preview.
    void PaintPages(QPrinter& printer, bool allPages);
    // The printed page `page` (0-based) of the loaded chime, laid out from the chime score at
    // the staff panels' current sizes.
    PrintSheet SheetOfPage(int page) const;
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
    // The pages printed by the last nPrintClick, in order.
    const QList<PrintJob>& Jobs() const { return jobs_; }

private:
    // The program's print dialog, with its preview button.
    bool RunPrintDialog(QPrinter& printer, int minPage, int maxPage);
    // True when the printer writes a PDF file rather than sending jobs to a printer.
    bool PrintsToFile();
    // Begins a job or document on the printer in landscape, titled `title`.
    void BeginDocument(QPainter& painter, const QString& title);
    // Prints the current page as a page of the open document: the documented composition in
    // the preview window, then the vector page on the paper.
    void PrintCurrentPage(QPainter& painter);
    // The page picture composed in the preview window (when there is one); returns the
    // picture to print.
    QImage ComposeInPreview(const QImage& page);

    QWidget& window_;
    const PrintWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    const TransportModel& transport_;
    TransportRequests& requests_;
    const std::unique_ptr<TfrmPrint>& frmPrint_;
    ScoreController& score_;
    std::unique_ptr<QPrinter> printer_;
    PrintDialogRunner dialog_;
    QList<PrintJob> jobs_;
};

}  // namespace orvane
