#include "app/core/FontConfigWarmup.h"
#include "app/core/HeapReserve.h"
#include "app/core/InstallerRun.h"
#include "app/core/ProgramInfo.h"
#include "app/core/SessionBus.h"
#include "app/core/StartupTrace.h"
#include "app/ui/BackBufferReserve.h"
#include "app/ui/ProgramStyle.h"
#include "app/ui/SignalBridge.h"
#include "app/ui/SingleInstance.h"
#include "app/ui/TfrmMain.h"
#include "help/core/JpegImage.h"
#include "sound/core/OutputOpener.h"
#include "sound/core/PacedOutput.h"
#include "sound/core/SystemOutput.h"

#include <QApplication>
#include <QPixmap>
#include <QPointer>
#include <QScopeGuard>
#include <QSplashScreen>
#include <QStandardPaths>
#include <QTimer>
#include <future>
#include <memory>

namespace {

// What the window thread's heap grows to by the time the window is shown, with some room.
constexpr std::size_t kStartHeapBytes = std::size_t(8) << 20;

}  // namespace

int main(int argc, char** argv) {
    orvane::StartupTrace::Mark("main");
    if (const auto code = orvane::AnswerInfoOption(argc, argv)) {
        return *code;
    }
    // Before anything allocates much: the heap that building the window writes is faulted in
    // beside the start instead of page by page on the window thread.
    orvane::HeapReserve heap(kStartHeapBytes);
    orvane::KeepSessionBusFromLaunching();
    // Read beside the connection to the display and the single-instance claim; the building of
    // the window waits for it before its first text.
    auto fonts = std::make_unique<orvane::FontConfigWarmup>();
    QApplication app(argc, argv);
    // The reading thread may use the application's font database: it ends before the
    // application object, whichever way main returns.
    const auto fontsEnd = qScopeGuard([&fonts] { fonts.reset(); });
    // The splash picture is decoded beside the start; it is needed only after the window is
    // shown. Not before the application object: the first thread that uses Qt's objects
    // becomes its main thread.
    std::future<QImage> splashPicture =
        std::async(std::launch::async, [] { return orvane::LoadJpeg(QStringLiteral(":/images/splash.jpg")); });
    orvane::StartupTrace::Mark("application");
    // First of all: a request to end is honoured at any moment of the start.
    orvane::SignalBridge bridge;
    // No application display name: the window system would append it to every window caption.
    QApplication::setApplicationName(QStringLiteral("Orvane"));

    // The claim comes before the start-up sequence, so a second start during the first one hands
    // over too, and two installers never run in one folder.
    orvane::SingleInstance instance(QString::fromLatin1(orvane::TfrmMain::kTitle));
    if (!instance.Claim()) {
        instance.AskRunningCopy(10000);
        return 0;
    }
    orvane::StartupTrace::Mark("single instance");
    fonts->ApplicationReady();
    orvane::StartOptions options;
    options.appDir = orvane::ProgramFolder(QApplication::applicationDirPath());
    options.arguments = QApplication::arguments().mid(1);
    // The chime library installer runs beside the building of the window, from now on (the
    // claim is held, so no other copy runs one in this folder); the start-up sequence waits for
    // it at its installer step.
    if (!orvane::TfrmMain::IsRecordStart(options.arguments)) {
        options.installer = orvane::InstallerRun::Start(options.appDir, options.payloadResource);
    }
    // Machines without a sound card (and demonstrations under a virtual display) may ask for a
    // silent output that keeps real time instead of the sound device. The sound device (a
    // running JACK server, else the sound card) is opened on a thread of its own while the
    // window is built; the engine waits for it.
    const bool silent = qEnvironmentVariableIsSet("ORVANE_SILENT_OUTPUT");
    std::unique_ptr<orvane::OutputOpener> sound;
    if (!silent) {
        sound = std::make_unique<orvane::OutputOpener>(std::make_unique<orvane::SystemOutput>());
    }
    QApplication::setStyle(new orvane::ProgramStyle);
    QPointer<orvane::TfrmMain> window;
    instance.Listen([&window] {
        if (window && window->isVisible()) {
            window->showNormal();
            window->raise();
            window->activateWindow();
        }
    });

    options.cacheDir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    options.askedToEnd = [] { return orvane::SignalBridge::Requested(); };
    options.instrumentLater = true;
    if (silent) {
        options.outputFactory = [] { return std::make_unique<orvane::PacedOutput>(); };
    } else {
        options.outputFactory = [&sound] {
            orvane::StartupTrace::Mark("sound device wanted");
            auto output = sound->Take();
            orvane::StartupTrace::Mark("sound device ready");
            return output;
        };
    }

    fonts->Wait();
    orvane::StartupTrace::Mark("fonts");
    auto frmMain = std::make_unique<orvane::TfrmMain>(options);
    if (orvane::SignalBridge::Requested()) {
        return 0;  // asked to end during the start: the window was never shown
    }
    orvane::StartupTrace::Mark("main window");
    frmMain->CreateSecondaryWindows();
    orvane::StartupTrace::Mark("secondary windows");
    window = frmMain.get();

    QObject::connect(&bridge, &orvane::SignalBridge::TerminationRequested, frmMain.get(), [w = frmMain.get()] {
        w->close();
    });

    frmMain->show();
    orvane::StartupTrace::Mark("shown");
    // The window's first picture comes once the event loop runs; its back buffer is faulted in
    // meanwhile.
    orvane::BackBufferReserve backBuffer(*frmMain);
    // Before any event is processed, so the first picture of the window and the first key
    // already have them.
    fonts.reset();  // done by now; the instrument controls set environment variables
    frmMain->StartInstrument();
    orvane::StartupTrace::Mark("instrument");
    // The splash picture comes up with the main window, above it, and stays for 1500 ms; the
    // event loop maps both windows, the main window first.
    auto splash = std::make_unique<QSplashScreen>(
        QPixmap::fromImage(splashPicture.get()), Qt::WindowStaysOnTopHint);
    splash->show();
    orvane::StartupTrace::Mark("splash");
    if (orvane::StartupTrace::Enabled()) {
        QTimer::singleShot(0, [] { orvane::StartupTrace::Mark("event loop"); });
    }
    QTimer::singleShot(1500, splash.get(), [&splash] { splash.reset(); });
    const int result = QApplication::exec();
    splash.reset();
    frmMain.reset();
    return result;
}
