#include "app/core/ProgramInfo.h"
#include "app/core/SessionBus.h"
#include "app/ui/SignalBridge.h"
#include "app/ui/SingleInstance.h"
#include "app/ui/TfrmMain.h"
#include "help/core/JpegImage.h"

#include <QApplication>
#include <QPixmap>
#include <QSplashScreen>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

int main(int argc, char** argv) {
    if (const auto code = orvane::AnswerInfoOption(argc, argv)) {
        return *code;
    }
    orvane::KeepSessionBusFromLaunching();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(orvane::TfrmMain::kTitle));

    orvane::SingleInstance instance(QString::fromLatin1(orvane::TfrmMain::kTitle));
    if (instance.AskRunningCopy()) {
        return 0;
    }

    // The splash picture stays for 1500 ms while the program starts.
    auto splash = std::make_unique<QSplashScreen>(
        QPixmap::fromImage(orvane::LoadJpeg(QStringLiteral(":/images/splash.jpg"))), Qt::WindowStaysOnTopHint);
    splash->show();
    QApplication::processEvents();

    orvane::StartOptions options;
    options.appDir = orvane::ProgramFolder(QApplication::applicationDirPath());
    options.arguments = QApplication::arguments().mid(1);
    options.cacheDir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);

    auto frmMain = std::make_unique<orvane::TfrmMain>(options);
    frmMain->CreateSecondaryWindows();

    instance.Listen([w = frmMain.get()] {
        w->showNormal();
        w->raise();
        w->activateWindow();
    });
    orvane::SignalBridge bridge;
    QObject::connect(&bridge, &orvane::SignalBridge::TerminationRequested, frmMain.get(), [w = frmMain.get()] {
        w->close();
    });

    frmMain->show();
    QTimer::singleShot(1500, splash.get(), [&splash] { splash.reset(); });
    const int result = QApplication::exec();
    splash.reset();
    frmMain.reset();
    return result;
}
