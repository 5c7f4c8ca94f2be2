#include "app/ui/TfrmMain.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/ui/LayoutController.h"
#include "app/core/LibraryInstaller.h"
#include "app/ui/SettingsController.h"
#include "app/ui/TImage.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "chime/core/TChannels.h"
#include "help/core/JpegImage.h"
#include "animation/ui/FacesController.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/ui/GroupsController.h"
#include "chime/ui/CasualController.h"
#include "chime/ui/LibraryController.h"
#include "chime/ui/PlayerController.h"
#include "chime/ui/TfrmSelSound.h"
#include "chime/ui/TfrmSoundSaveDlg.h"
#include "help/ui/HelpController.h"
#include "help/ui/TAboutBox.h"
#include "help/ui/TfrmLesson.h"
#include "recorder/ui/RecorderController.h"
#include "score/ui/PrintController.h"
#include "chime/ui/ExportController.h"
#include "score/ui/ScoreController.h"
#include "score/ui/TfrmPrint.h"
#include "sound/ui/KeyHook.h"
#include "sound/ui/StripController.h"
#include "sound/ui/VoiceController.h"
#include "sound/ui/VolumeController.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QToolButton>
#include <QLayout>
#include <QTimer>
#include <QDateTime>

namespace orvane {

namespace {

}  // namespace

QString TfrmMain::DefaultCaption() {
    return QString::fromLatin1(kTitle) + QStringLiteral(" - Hollin`s school of the bell ringers");
}

TfrmMain::TfrmMain(StartOptions startOptions, QWidget* parent)
    : QMainWindow(parent), form(this), options(std::move(startOptions)) {
    setWindowTitle(DefaultCaption());
    if (options.cacheDir.isEmpty()) {
        options.cacheDir = QDir::tempPath();
    }
    settings = std::make_unique<SettingsController>(*this);
    layout = std::make_unique<LayoutController>(*this);
    strip = std::make_unique<StripController>(*this);
    bellSet = new BellSetController(*this);
    groups = new GroupsController(*this);
    voices = new VoiceController(*this);
    volume = new VolumeController(*this);
    keyHook = new KeyHook(*this);
    player = new PlayerController(*this);
    library = new LibraryController(*this);
    casual = new CasualController(*this);
    score = new ScoreController(*this);
    print = new PrintController(*this);
    exporter = new ExportController(*this, form.nExportAudio, [this] { return CurrentExportSettings(*this); });
    faces = new FacesController(*this);
    recorder = new RecorderController(*this);
    help = new HelpController(*this);
    FormCreate();
    ConnectHandlers();
    form.client->installEventFilter(this);
    created_ = true;
}

TfrmMain::~TfrmMain() { FormDestroy(); }

const QStringList& TfrmMain::VoiceList() const { return voices->VoiceList(); }

bool TfrmMain::IsRecordStart() const {
    return !options.arguments.isEmpty() && options.arguments.first() == QLatin1String("record");
}

template <class F>
void TfrmMain::Step(int number, F&& f) {
    bool finished = false;
    Guarded([&] {
        f();
        finished = true;
    });
    if (finished) {
        completedSteps_.append(number);
    }
}

void TfrmMain::FormCreate() {
    Step(1, [&] { voices->CreateVoiceList(); });
    Step(2, [&] { QDir::setCurrent(options.appDir); });
    Guarded([&] { form.imgBanner->SetPicture(LoadJpeg(QStringLiteral(":/images/banner.jpg"))); });
    Step(3, [&] {
        MonoTempDir = QDir(options.cacheDir).filePath(QStringLiteral("TempOrvaneMono"));
        StereoTempDir = QDir(options.cacheDir).filePath(QStringLiteral("TempOrvaneStereo"));
    });
    Step(4, [&] {
        if (!IsRecordStart()) {
            InstallChimeLibrary(options.appDir, options.payloadResource, [this] { return terminating_; });
        }
    });
    Step(5, [&] { keyHook->Install(); });
    Step(6, [&] { score->ResetDrawingState(); });
    Step(7, [&] { library->ForgetLastChime(); });
    Step(8, [&] {
        AppPath = FormAppPath(options.appDir);
        Settings = std::make_unique<IniFile>(AppPath.IniFile);
        BellData = std::make_unique<TBellData>(AppPath.DescFile, *this);
        SoundData = std::make_unique<TSoundData>(AppPath.ChimeDir, *this);
        Channels = std::make_unique<TChannels>();
        BuildAddBellMenu();
    });
    Step(9, [&] {
        CopySoundFiles(AppPath.SoundDir + QStringLiteral("Mono"), MonoTempDir);
        CopySoundFiles(AppPath.SoundDir + QStringLiteral("Stereo"), StereoTempDir);
    });
    Step(10, [&] {
        if (!QFileInfo::exists(AppPath.IniFile)) {
            settings->CreateDefaultSettings();
        }
    });
    Step(11, [&] { settings->ReadSettings(); });
    Step(12, [&] { settings->ReadWindowBounds(); });
    Step(13, [&] { layout->ApplyViewPanels(); });
    Step(14, [&] {
        CurrentBell = 0;
        StepPosition = 0;
        CurrentPage = 0;
        form.udPage->setMaximum(form.udPage->minimum());
        RecElapsed = 0;
        Recording = false;
        RecordText.clear();
        CasualMode = false;
        StudyMode = false;
        SchematicView = false;
        KeysEnabled = true;
    });
    Step(15, [&] {
        Guarded([&] { strip->BuildStrip(); });
        Guarded([&] { bellSet->CreateGroupChimeBoxes(); });
        Guarded([&] { faces->CreateFaces(); });
        Guarded([&] { score->CreateScoreImages(); });
        Guarded([&] { layout->CreateMarkers(); });
    });
    Step(16, [&] {
        Bells.Clear();
        groups->FillVariantTable();
        VariantIndex = 0;
        Guarded([&] { strip->RefreshPreview(); });
        Guarded([&] { bellSet->FullRefresh(); });
        bellSet->LoadStoredBellSet();
    });
    Step(17, [&] { volume->DetectVolumeDevices(); });
    Step(18, [&] {
        Guarded([&] { volume->ShowDeviceLevel(); });
        player->ShowTempo();
    });
    Step(19, [&] {
        Guarded([&] { faces->ApplyViewAtStart(); });
        groups->RefreshTotals();
    });
    Step(20, [&] {
        Guarded([&] { faces->cbViewChange(); });
        Guarded([&] { score->cbShowNotesClick(); });
        Guarded([&] { faces->cbShowMovieClick(); });
    });
    Step(21, [&] {
        if (IsRecordStart()) {
            form.nRec->setVisible(true);
        }
    });
    Step(22, [&] { rng.seed(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch())); });
}

void TfrmMain::BuildAddBellMenu() {
    QList<QAction*> items;
    for (int i = 0; i < TBellData::kBellCount; ++i) {
        auto* item = new QAction(form.imgBells.value(0), BellData->Cell(TBellData::kName, i), form.nAdd);
        item->setData(i);
        item->setVisible(true);
        items.append(item);
        AddBellItems.append(item);
    }
    form.nAdd->addActions(items);
}

void TfrmMain::ConnectHandlers() {
    connect(form.nExit, &QAction::triggered, this, [this] { nExitClick(); });
    connect(form.nViewPanel, &QAction::triggered, this, [this] { Guarded([&] { layout->nViewPanelClick(); }); });
    connect(form.nViewSelectBells, &QAction::triggered, this,
            [this] { Guarded([&] { layout->nViewSelectBellsClick(); }); });
    connect(form.nViewBellsInfo, &QAction::triggered, this,
            [this] { Guarded([&] { layout->nViewBellsInfoClick(); }); });
    connect(form.nViewBellsGroups, &QAction::triggered, this,
            [this] { Guarded([&] { layout->nViewBellsGroupsClick(); }); });
    connect(form.btnTemp, &QToolButton::clicked, this, [this] { Guarded([&] { layout->btnTempClick(); }); });
    for (auto connectSubsystem : std::initializer_list<std::function<void()>>{
             [this] { bellSet->Connect(); }, [this] { groups->Connect(); }, [this] { voices->Connect(); },
             [this] { volume->Connect(); }, [this] { keyHook->Connect(); }, [this] { player->Connect(); },
             [this] { library->Connect(); }, [this] { casual->Connect(); }, [this] { score->Connect(); },
             [this] { print->Connect(); }, [this] { exporter->Connect(); }, [this] { faces->Connect(); }, [this] { recorder->Connect(); },
             [this] { help->Connect(); }}) {
        Guarded(connectSubsystem);
    }
}

void TfrmMain::CreateSecondaryWindows() {
    AboutBox = std::make_unique<TAboutBox>(this);
    frmPrint = std::make_unique<TfrmPrint>(this);
    frmSoundSaveDlg = std::make_unique<TfrmSoundSaveDlg>(this);
    frmSelSound = std::make_unique<TfrmSelSound>(this);
    frmLesson = std::make_unique<TfrmLesson>(this);
}

void TfrmMain::nExitClick() { close(); }

void TfrmMain::CheckDataFile(const QString& path) { orvane::CheckDataFile(path, *this); }

void TfrmMain::ReportBadDataFile(const QString& path) {
    if (terminating_) {
        return;  // the end is on its way; later messages close at once
    }
    ShowMessage(BadDataFileMessage(path));
    terminating_ = true;
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TfrmMain::ShowMessage(const QString& text) {
    if (terminating_) {
        return;
    }
    const QString title = QString::fromLatin1(kTitle);
    if (options.messageBox) {
        options.messageBox(title, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, isVisible() ? this : nullptr);
    box.exec();
}

void TfrmMain::FormCloseQuery() {
    Guarded([&] { settings->WriteViewSettings(); });
    Guarded([&] { settings->WriteWindowBounds(); });
    Guarded([&] { settings->StoreBellSet(); });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (!terminating_) {
        FormCloseQuery();
    }
    event->accept();
    // Closing the main window ends the program, whatever other window (the splash picture, a
    // lesson) is still open.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    // The size-change handler runs whenever the client area changes size: with the window, and
    // when the menu bar takes its final height after the window is shown.
    if (watched == form.client && event->type() == QEvent::Resize && created_) {
        form.client->layout()->setGeometry(form.client->rect());
        Guarded([&] { layout->FormResize(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::FormDestroy() {
    Guarded([&] {
        form.mmResetTimer->stop();
        form.mmTimer->stop();
        form.mmRecTimer->stop();
        form.mmResetTimer->stop();
    });
    Guarded([&] {
        for (qsizetype i = AddBellItems.size() - 1; i >= 0; --i) {
            delete AddBellItems[i];
        }
        AddBellItems.clear();
        for (int g = 2; g >= 0; --g) {
            delete Markers[g];
        }
        score->Release();
        faces->Release();
        for (int g = 2; g >= 0; --g) {
            delete GroupChimeBoxes[g];
        }
        for (qsizetype i = Strip.size() - 1; i >= 0; --i) {
            delete Strip[i];
        }
        Strip.clear();
        SoundData.reset();
        BellData.reset();
        Settings.reset();
    });
    Guarded([&] { voices->FinalSweep(); });
    Guarded([&] { voices->ReleaseVoiceList(); });
}

}  // namespace orvane
