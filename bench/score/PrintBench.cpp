#include "BenchProgram.h"
#include "BenchStats.h"
#include "BenchRegistry.h"

#include "chime/core/ChimeScore.h"
#include "chime/core/TChannels.h"
#include "score/core/ScoreLayout.h"
#include "score/ui/PrintController.h"
#include "score/ui/ScoreController.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPrinter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

namespace {

// All seven pages of a library chime of 420 steps printed to one PDF file on a 1280 x 800
// main window, from the print dialog's answer to the file written: median, minimum and
// maximum of ten runs.
void PrintAllPages() {
    QTemporaryDir dir;
    const orvane::StartOptions options = bench::ProgramCopyOptions(dir.path());
    bench::BenchWindow w(options);
    w.resize(1280, 800);
    w.show();
    QApplication::processEvents();
    bench::LoadChimeOnTwelveBells(w, QStringLiteral("Chime/common/trezvon_festive.kol"));
    const int pages = orvane::ScoreLayout::PageCount(w.data.Channels->Steps.size());
    w.form.udPage->setMaximum(pages);
    const QString file = dir.filePath(QStringLiteral("score.pdf"));
    w.print.SetPrintDialog([&](QPrinter& printer, int, int) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPrintRange(QPrinter::AllPages);
        return true;
    });
    std::vector<double> ms;
    for (int round = 0; round < 10; ++round) {
        QElapsedTimer timer;
        timer.start();
        w.print.nPrintClick();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    if (w.print.Jobs().size() != pages) {
        std::fprintf(stderr, "printed %d of %d pages\n", int(w.print.Jobs().size()), pages);
    }
    bench::PrintSpread("print_all_pages_ms", ms, "ms");
}

const bench::Register kRegister({"print_all_pages_ms"}, PrintAllPages);

}  // namespace
