// The start of the real program as a user meets it: a new process on an X display, from the
// moment it is started until the X server maps its main window. The benchmark starts its own
// virtual X server, so no other window or window manager takes part. The splash picture, which
// stays up for its own 1500 ms, is not waited for; the clock stops at the main window.

#include "BenchProgram.h"
#include "BenchRegistry.h"
#include "BenchStats.h"
#include "XServer.h"

#include "app/ui/TfrmMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStarts = 10;

// A program folder of the benchmark's own below root, as the build leaves it: without the
// chime library, the settings file and the temporary sound folders that a start writes.
QString FreshProgram(const QString& root) {
    const QString program = root + QStringLiteral("/program");
    bench::CopyProgramFolder(program);
    for (const char* written : {"Chime", "Custom"}) {
        QDir(program + u'/' + QLatin1String(written)).removeRecursively();
    }
    QFile::remove(program + QStringLiteral("/orvane.ini"));
    return program;
}

// Starts the program in programDir on the display and gives the milliseconds until its main
// window is mapped (negative when it was not mapped within 30 s), then ends it as "Exit" does.
double StartOnce(const std::string& display, const QString& programDir, const QString& root) {
    for (const char* folder : {"cache", "tmp", "run"}) {
        QDir().mkpath(root + u'/' + QLatin1String(folder));
    }
    QFile::setPermissions(root + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const std::vector<std::string> environment = {
        "DISPLAY=" + display,
        "QT_QPA_PLATFORM=xcb",
        "XDG_CACHE_HOME=" + (root + QStringLiteral("/cache")).toStdString(),
        "TMPDIR=" + (root + QStringLiteral("/tmp")).toStdString(),
        "XDG_RUNTIME_DIR=" + (root + QStringLiteral("/run")).toStdString(),
    };
    bench::MapWatcher watcher(display);
    if (!watcher.Connected()) {
        return -1.0;
    }
    const std::string caption = orvane::TfrmMain::DefaultCaption().toStdString();
    const auto start = Clock::now();
    const pid_t pid =
        bench::StartProcess((programDir + QStringLiteral("/orvane")).toStdString(), {}, environment);
    if (pid <= 0) {
        return -1.0;
    }
    const auto mapped = watcher.WaitForMapped(caption, start + std::chrono::seconds(30));
    bench::EndProcess(pid, std::chrono::seconds(10));
    if (!mapped) {
        return -1.0;
    }
    return std::chrono::duration<double, std::milli>(*mapped - start).count();
}

void Report(const char* name, const std::vector<double>& times) {
    if (times.size() != kStarts) {
        std::fprintf(stderr, "%s: %zu of %d starts mapped the main window\n", name, times.size(),
                     kStarts);
    }
    bench::PrintSpread(name, times, "ms");
}

// Warm: one start installs the chime library and fills the temporary sound folders, then the
// same folder is started again and again, as a user starts the program every day.
void WarmStarts() {
    bench::XServer server;
    QTemporaryDir dir;
    if (server.Display().empty() || !dir.isValid()) {
        std::fprintf(stderr, "startup_process_ms_warm: no X server\n");
        return;
    }
    const QString program = FreshProgram(dir.path());
    StartOnce(server.Display(), program, dir.path());
    std::vector<double> times;
    for (int i = 0; i < kStarts; ++i) {
        const double ms = StartOnce(server.Display(), program, dir.path());
        if (ms >= 0) {
            times.push_back(ms);
        }
    }
    Report("startup_process_ms_warm", times);
}

// First: every start on a fresh program folder and empty cache, so the installer writes the
// whole chime library, the wave files are copied and the default settings written.
void FirstStarts() {
    bench::XServer server;
    if (server.Display().empty()) {
        std::fprintf(stderr, "startup_process_ms_first: no X server\n");
        return;
    }
    std::vector<double> times;
    for (int i = 0; i < kStarts; ++i) {
        QTemporaryDir dir;
        const QString program = FreshProgram(dir.path());
        const double ms = StartOnce(server.Display(), program, dir.path());
        if (ms >= 0) {
            times.push_back(ms);
        }
    }
    Report("startup_process_ms_first", times);
}

const bench::Register kWarm({"startup_process_ms_warm"}, WarmStarts);
const bench::Register kFirst({"startup_process_ms_first"}, FirstStarts);

}  // namespace
