#include "BenchProgram.h"
#include "BenchRegistry.h"
#include "BenchStats.h"

#include "chime/core/ChimeScore.h"
#include "chime/core/TChannels.h"
#include "score/ui/ScoreController.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

namespace {

// The whole score view redrawn on a 1280 x 800 main window: the three staves of the first
// page of a library chime (layout, drawing, handing the pictures to the image controls), and
// the same followed by the synchronous repaint of the three score panels (on the platform the
// benchmark runs on; score_redraw_x11_ms waits for the X server).
void ScoreRedraw() {
    QTemporaryDir dir;
    const orvane::StartOptions options = bench::ProgramCopyOptions(dir.path());
    bench::BenchWindow w(options);
    w.resize(1280, 800);
    w.show();
    QApplication::processEvents();
    bench::LoadChimeOnTwelveBells(w, QStringLiteral("Chime/common/trezvon_rostov.kol"));
    w.transportModel.CurrentPage = 1;
    QApplication::processEvents();

    std::vector<double> redraw;
    std::vector<double> shown;
    for (int round = 0; round < 60; ++round) {
        QElapsedTimer timer;
        timer.start();
        w.score.RedrawScore();
        redraw.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        w.score.RedrawScore();
        for (int g = 0; g < 3; ++g) {
            w.form.ScorePanel(g)->repaint();
        }
        shown.push_back(timer.nsecsElapsed() / 1e6);
    }
    bench::PrintSpread("score_redraw_ms", redraw, "ms");
    bench::PrintSpread("score_redraw_shown_ms", shown, "ms");
}

const bench::Register kRegister({"score_redraw_ms", "score_redraw_shown_ms"}, ScoreRedraw);

}  // namespace
