// A page turn of the score as the user sees it: on a main window shown on an X display, from
// the change of page until the X server holds the new picture. The measuring process runs on a
// virtual X server of its own (started here; the benchmark program then runs itself on it).

#include "BenchProgram.h"
#include "BenchRegistry.h"
#include "BenchStats.h"
#include "XServer.h"

#include "app/ui/TImage.h"
#include "app/ui/TfrmMain.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/TChannels.h"
#include "score/ui/ScoreController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWindow>
#include <xcb/xcb.h>

#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <vector>

namespace {

constexpr const char* kFigure = "score_redraw_x11_ms";
constexpr const char* kCpuFigure = "score_redraw_x11_cpu_ms";
constexpr const char* kOnOwnServer = "ORVANE_BENCH_OWN_XSERVER";
constexpr int kRounds = 100;


// Counts the paint events of the watched widgets.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A request with a reply: when the reply is back, the server has carried out every request
// sent before it, the pictures included.
void RoundTrip(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// Processor time of the calling thread, in milliseconds.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return 1e3 * double(t.tv_sec) + double(t.tv_nsec) / 1e6;
}

void MeasureOnThisDisplay() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        std::fprintf(stderr, "%s: not on an X display\n", kFigure);
        return;
    }
    QTemporaryDir dir;
    const orvane::StartOptions options = bench::ProgramCopyOptions(dir.path());
    bench::BenchWindow w(options);
    w.CreateSecondaryWindows();
    w.resize(1280, 800);
    w.show();
    for (int i = 0; i < 1000 && !(w.windowHandle() && w.windowHandle()->isExposed()); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    bench::LoadChimeOnTwelveBells(w, QStringLiteral("Chime/common/trezvon_rostov.kol"));
    w.form.udPage->setMaximum(2);
    PaintCounter counter;
    for (int g = 0; g < 3; ++g) {
        w.score.ScoreImage(g)->installEventFilter(&counter);
    }
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int round = -5; round < kRounds; ++round) {
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
        }
        RoundTrip(connection);
        std::vector<qint64> before;
        for (int g = 0; g < 3; ++g) {
            before.push_back(w.score.ScorePicture(g).cacheKey());
        }
        counter.paints = 0;
        QElapsedTimer timer;
        const double cpuStart = ThreadCpuMs();
        timer.start();
        w.form.udPage->setValue(round % 2 == 0 ? 2 : 1);
        w.score.udPageClick();
        int changed = 0;
        for (int g = 0; g < 3; ++g) {
            changed += w.score.ScorePicture(g).cacheKey() != before[g];
        }
        // The repaint of every changed picture reaches the window's backing store, which
        // sends it to the server.
        while (counter.paints < changed && timer.elapsed() < 2000) {
            QApplication::processEvents();
        }
        RoundTrip(connection);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (round >= 0) {
            times.push_back(ms);
            cpuTimes.push_back(ThreadCpuMs() - cpuStart);
        }
    }
    bench::PrintSpread(kFigure, times, "ms");
    // The user-interface thread's share of it: the processor time of the turn, without the
    // waits for the X server.
    bench::PrintSpread(kCpuFigure, cpuTimes, "ms");
}

void ShownRedraw() {
    if (qEnvironmentVariableIsSet(kOnOwnServer)) {
        MeasureOnThisDisplay();
        return;
    }
    bench::XServer server;
    if (server.Display().empty()) {
        std::fprintf(stderr, "%s: no X server\n", kFigure);
        return;
    }
    const pid_t pid = bench::StartProcess(
        "/proc/self/exe", {kFigure},
        {"DISPLAY=" + server.Display(), "QT_QPA_PLATFORM=xcb", std::string(kOnOwnServer) + "=1"},
        true);
    bench::WaitProcess(pid);
}

const bench::Register kRegister({kFigure, kCpuFigure}, ShownRedraw);

}  // namespace
