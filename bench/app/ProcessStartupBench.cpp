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

#include <fcntl.h>
#include <unistd.h>

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
    // On the disk before the clock starts, as the package installer leaves the files it unpacks:
    // otherwise the installer's flush of the chime library would write out this copy too.
    const int folder = ::open(QFile::encodeName(program).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::syncfs(folder);
        ::close(folder);
    }
    return program;
}

// Processor time of one thread so far, in milliseconds (from the scheduler's nanosecond count).
double ThreadCpuMs(const QString& taskFolder) {
    QFile stat(taskFolder + QStringLiteral("/schedstat"));
    return stat.open(QIODevice::ReadOnly) ? stat.readAll().split(' ').value(0).toDouble() / 1e6 : 0.0;
}

// Processor time of all threads of a running process so far, in milliseconds. Less disturbed
// by other processes than the wall clock.
double ProcessCpuMs(pid_t pid) {
    double ms = 0.0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        ms += ThreadCpuMs(tasks.filePath(task));
    }
    return ms;
}

// Processor time of the process's first thread, which loads the program and builds and shows
// the window: the work that lies on the way to the map, apart from the threads beside it.
double UiThreadCpuMs(pid_t pid) {
    return ThreadCpuMs(QStringLiteral("/proc/%1/task/%1").arg(pid));
}

struct Start {
    double wallMs = -1.0;  // negative: the main window was not mapped
    double cpuMs = 0.0;
    double uiCpuMs = 0.0;
};

// Starts `executable` on the display and gives the milliseconds until its window called
// `caption` is mapped (negative when it was not mapped within 30 s) and the processor time the
// process had taken by then, then ends it as "Exit" does.
Start StartOnce(const std::string& display, const std::string& executable, const std::string& caption,
                const QString& root) {
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
        return {};
    }
    const auto start = Clock::now();
    const pid_t pid = bench::StartProcess(executable, {}, environment);
    if (pid <= 0) {
        return {};
    }
    const auto mapped = watcher.WaitForMapped(caption, start + std::chrono::seconds(30));
    const double uiCpuMs = UiThreadCpuMs(pid);
    const double cpuMs = ProcessCpuMs(pid);
    bench::EndProcess(pid, std::chrono::seconds(10));
    if (!mapped) {
        return {};
    }
    return {std::chrono::duration<double, std::milli>(*mapped - start).count(), cpuMs, uiCpuMs};
}

// The program in programDir, until its main window is mapped.
Start StartProgram(const std::string& display, const QString& programDir, const QString& root) {
    return StartOnce(display, (programDir + QStringLiteral("/orvane")).toStdString(),
                     orvane::TfrmMain::DefaultCaption().toStdString(), root);
}

struct Starts {
    std::vector<double> wall;
    std::vector<double> cpu;
    std::vector<double> uiCpu;
    void Add(const Start& start) {
        if (start.wallMs >= 0) {
            wall.push_back(start.wallMs);
            cpu.push_back(start.cpuMs);
            uiCpu.push_back(start.uiCpuMs);
        }
    }
};

// The wall-clock figure, and beside it the program's processor time up to the map (the
// installer's own process not included), all threads and the user-interface thread alone.
void Report(const std::string& name, const std::string& cpuName, const Starts& starts) {
    if (starts.wall.size() != kStarts) {
        std::fprintf(stderr, "%s: %zu of %d starts mapped the main window\n", name.c_str(),
                     starts.wall.size(), kStarts);
    }
    bench::PrintSpread(name, starts.wall, "ms");
    bench::PrintSpread(cpuName, starts.cpu, "ms");
    const std::string uiName = cpuName.substr(0, cpuName.find("_cpu_")) + "_ui" +
                               cpuName.substr(cpuName.find("_cpu_"));
    bench::PrintSpread(uiName, starts.uiCpu, "ms");
}

// Warm: one start installs the chime library and fills the temporary sound folders, then the
// same folder is started again and again, as a user starts the program every day. Each start
// alternates with one of an empty Qt window (startup_bare_window_ms), the floor that any Qt
// program meets on this machine at that moment.
void WarmStarts() {
    bench::XServer server;
    QTemporaryDir dir;
    if (server.Display().empty() || !dir.isValid()) {
        std::fprintf(stderr, "startup_process_ms_warm: no X server\n");
        return;
    }
    const QString program = FreshProgram(dir.path());
    StartProgram(server.Display(), program, dir.path());
    StartOnce(server.Display(), ORVANE_BARE_WINDOW, "Bare window", dir.path());
    Starts starts;
    Starts bare;
    for (int i = 0; i < kStarts; ++i) {
        starts.Add(StartProgram(server.Display(), program, dir.path()));
        bare.Add(StartOnce(server.Display(), ORVANE_BARE_WINDOW, "Bare window", dir.path()));
    }
    Report("startup_process_ms_warm", "startup_process_cpu_ms_warm", starts);
    Report("startup_bare_window_ms", "startup_bare_window_cpu_ms", bare);
}

// First: every start on a fresh program folder and empty cache, so the installer writes the
// whole chime library, the wave files are copied and the default settings written.
void FirstStarts() {
    bench::XServer server;
    if (server.Display().empty()) {
        std::fprintf(stderr, "startup_process_ms_first: no X server\n");
        return;
    }
    Starts starts;
    for (int i = 0; i < kStarts; ++i) {
        QTemporaryDir dir;
        const QString program = FreshProgram(dir.path());
        starts.Add(StartProgram(server.Display(), program, dir.path()));
    }
    Report("startup_process_ms_first", "startup_process_cpu_ms_first", starts);
}

const bench::Register kWarm({"startup_process_ms_warm", "startup_process_cpu_ms_warm",
                            "startup_process_ui_cpu_ms_warm", "startup_bare_window_ms"},
                           WarmStarts);
const bench::Register kFirst({"startup_process_ms_first", "startup_process_cpu_ms_first",
                             "startup_process_ui_cpu_ms_first"},
                            FirstStarts);

}  // namespace
