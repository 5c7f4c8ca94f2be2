#include "app/ui/TfrmMain.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/InstallerRun.h"
#include "app/core/LibraryInstaller.h"
#include "app/core/StartupTrace.h"
#include "app/ui/ControllerWidgets.h"
#include "app/ui/TImage.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "chime/core/TChannels.h"
#include "chime/ui/TfrmSelSound.h"
#include "chime/ui/TfrmSoundSaveDlg.h"
#include "help/core/JpegImage.h"
#include "help/ui/TAboutBox.h"
#include "help/ui/TfrmLesson.h"
#include "score/ui/TfrmPrint.h"

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

StartOptions Prepared(StartOptions options) {
    if (options.cacheDir.isEmpty()) {
        options.cacheDir = QDir::tempPath();
    }
    return options;
}

}  // namespace

TfrmMain::TfrmMain(StartOptions startOptions, QWidget* parent)
    : QMainWindow(parent),
      form(this),
      options(Prepared(std::move(startOptions))),
      settings(*this, SettingsWidgetsOf(form), data, bellModel, viewModel, layout),
      layout(LayoutWidgetsOf(form), viewModel, strip, score, faces, player),
      strip(StripWidgetsOf(form), data, bellModel, *this, [this](int bell) { bellSet.ToggleBell(bell); }, voices),
      bellSet(BellSetWidgetsOf(form), data, bellModel, strip, groups, voices, [this] { player.ResetPlayer(); }),
      groups(GroupsWidgetsOf(form), data, bellModel, *this, bellSet, voices),
      voices(VoiceWidgetsOf(form), data, bellModel, *this, rng, strip, settings, faces, options.outputFactory),
      volume(VolumeWidgetsOf(form), voices),
      keyHook(KeyHookWidgetsOf(form), data, bellModel, recorderModel, strip, voices, recorder, bellSet),
      player(PlayerWidgetsOf(form), data, bellModel, transportModel, frmSelSound, volume, voices, score, library, faces, casual),
      library(*this, LibraryWidgetsOf(form), data, transportModel, frmSelSound, player, score, groups, bellSet),
      casual(CasualWidgetsOf(form), bellModel, rng, frmSelSound, player, library),
      score(*this, ScoreWidgetsOf(form), data, bellModel, transportModel, player),
      print(*this, PrintWidgetsOf(form), data, bellModel, transportModel, player, frmPrint, score),
      exporter(*this, form.nExportAudio,
               [this] { return CurrentExportSettings(ExportWidgetsOf(form), data, bellModel.Bells, voices, volume); }),
      faces(FacesWidgetsOf(form), data, bellModel, viewModel, layout),
      recorder(*this, RecorderWidgetsOf(form), data, bellModel, recorderModel, frmSoundSaveDlg),
       help(HelpWidgetsOf(form), data, frmLesson, AboutBox, [this] { return &voices.Engine(); }),
       practice(*this, PracticeWidgetsOf(form), data, bellModel, transportModel, player, voices, score, print,
                [this](const QString& text) { ShowMessage(text); }),
       instrument(*this, InstrumentWidgetsOf(form), data, bellModel, recorderModel, keyHook, voices.Engine()) {
    StartupTrace::Mark("form and controllers");
    setWindowTitle(DefaultCaption());
    FormCreate();
    ConnectHandlers();
    if (!options.instrumentLater) {
        StartInstrument();
    }
    form.client->installEventFilter(this);
    created_ = true;
}

TfrmMain::~TfrmMain() { FormDestroy(); }

const QStringList& TfrmMain::VoiceList() const { return voices.VoiceList(); }

bool TfrmMain::IsRecordStart() const {
    return IsRecordStart(options.arguments);
}

bool TfrmMain::IsRecordStart(const QStringList& arguments) {
    return !arguments.isEmpty() && arguments.first() == QLatin1String("record");
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
    StartupTrace::Mark("step", number);
}

void TfrmMain::FormCreate() {
    Step(1, [&] { voices.CreateVoiceList(); });
    Step(2, [&] { QDir::setCurrent(options.appDir); });
    Guarded([&] { form.imgBanner->SetPicture(LoadJpeg(QStringLiteral(":/images/banner.jpg"))); });
    Step(3, [&] {
        data.MonoTempDir = QDir(options.cacheDir).filePath(QStringLiteral("TempOrvaneMono"));
        data.StereoTempDir = QDir(options.cacheDir).filePath(QStringLiteral("TempOrvaneStereo"));
    });
    Step(4, [&] {
        if (!IsRecordStart()) {
            const auto askedToEnd = [this] {
                if (options.askedToEnd && options.askedToEnd()) {
                    terminating_ = true;
                }
                return terminating_;
            };
            if (options.installer) {
                options.installer->Finish(askedToEnd);
            } else {
                InstallChimeLibrary(options.appDir, options.payloadResource, askedToEnd);
            }
        }
    });
    Step(5, [&] { keyHook.Install(); });
    Step(6, [&] { score.ResetDrawingState(); });
    Step(7, [&] { library.ForgetLastChime(); });
    Step(8, [&] {
        data.AppPath = FormAppPath(options.appDir);
        data.Settings = std::make_unique<IniFile>(data.AppPath.IniFile);
        data.BellData = std::make_unique<TBellData>(data.AppPath.DescFile, *this);
        data.SoundData = std::make_unique<TSoundData>(data.AppPath.ChimeDir, *this);
        data.Channels = std::make_unique<TChannels>();
        BuildAddBellMenu();
    });
    Step(9, [&] {
        CopySoundFiles(data.AppPath.SoundDir + QStringLiteral("Mono"), data.MonoTempDir);
        CopySoundFiles(data.AppPath.SoundDir + QStringLiteral("Stereo"), data.StereoTempDir);
    });
    Step(10, [&] {
        if (!QFileInfo::exists(data.AppPath.IniFile)) {
            settings.CreateDefaultSettings();
        }
    });
    Step(11, [&] { settings.ReadSettings(); });
    Step(12, [&] { settings.ReadWindowBounds(); });
    Step(13, [&] { layout.ApplyViewPanels(); });
    Step(14, [&] {
        bellModel.CurrentBell = 0;
        transportModel.StepPosition = 0;
        transportModel.CurrentPage = 0;
        form.udPage->setMaximum(form.udPage->minimum());
        recorderModel.RecElapsed = 0;
        recorderModel.Recording = false;
        recorderModel.RecordText = QString();
        transportModel.CasualMode = false;
        transportModel.StudyMode = false;
        viewModel.SchematicView = false;
        recorderModel.KeysEnabled = true;
    });
    Step(15, [&] {
        Guarded([&] { strip.BuildStrip(); });
        Guarded([&] { bellSet.CreateGroupChimeBoxes(); });
        Guarded([&] { faces.CreateFaces(); });
        Guarded([&] { score.CreateScoreImages(); });
        Guarded([&] { layout.CreateMarkers(); });
    });
    Step(16, [&] {
        bellModel.Bells.Clear();
        groups.FillVariantTable();
        bellModel.VariantIndex = 0;
        Guarded([&] { strip.RefreshPreview(); });
        Guarded([&] { bellSet.FullRefresh(); });
        bellSet.LoadStoredBellSet();
    });
    Step(17, [&] { volume.DetectVolumeDevices(); });
    Step(18, [&] {
        Guarded([&] { volume.ShowDeviceLevel(); });
        player.ShowTempo();
    });
    Step(19, [&] {
        Guarded([&] { faces.ApplyViewAtStart(); });
        groups.RefreshTotals();
    });
    Step(20, [&] {
        Guarded([&] { faces.cbViewChange(); });
        Guarded([&] { score.cbShowNotesClick(); });
        Guarded([&] { faces.cbShowMovieClick(); });
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
        auto* item = new QAction(form.imgBells.value(0), data.BellData->Cell(TBellData::kName, i), form.nAdd);
        item->setData(i);
        item->setVisible(true);
        items.append(item);
        form.AddBellItems.append(item);
    }
    form.nAdd->addActions(items);
}

void TfrmMain::ConnectHandlers() {
    connect(form.nExit, &QAction::triggered, this, [this] { nExitClick(); });
    Wire(form.nViewPanel, &QAction::triggered, this, [this] { layout.nViewPanelClick(); });
    Wire(form.nViewSelectBells, &QAction::triggered, this, [this] { layout.nViewSelectBellsClick(); });
    Wire(form.nViewBellsInfo, &QAction::triggered, this, [this] { layout.nViewBellsInfoClick(); });
    Wire(form.nViewBellsGroups, &QAction::triggered, this, [this] { layout.nViewBellsGroupsClick(); });
    Wire(form.btnTemp, &QToolButton::clicked, this, [this] { layout.btnTempClick(); });
    for (auto connectSubsystem : std::initializer_list<std::function<void()>>{
             [this] { bellSet.Connect(); }, [this] { groups.Connect(); }, [this] { voices.Connect(); },
             [this] { volume.Connect(); }, [this] { keyHook.Connect(); }, [this] { player.Connect(); },
             [this] { library.Connect(); }, [this] { casual.Connect(); }, [this] { score.Connect(); },
             [this] { print.Connect(); }, [this] { exporter.Connect(); }, [this] { faces.Connect(); }, [this] { recorder.Connect(); },
             [this] { help.Connect(); }, [this] { practice.Connect(); }}) {
        Guarded(connectSubsystem);
    }
}

void TfrmMain::CreateSecondaryWindows() {
    AboutBox = std::make_unique<TAboutBox>(this);
    frmPrint = std::make_unique<TfrmPrint>(this);
    TfrmSoundSaveDlg::Owner saveOwner;
    saveOwner.chimeDir = data.AppPath.ChimeDir;
    saveOwner.bells = &bellModel.Bells;
    saveOwner.recList = form.mRecList;
    saveOwner.showMessage = [this](const QString& text) { ShowMessage(text); };
    saveOwner.closed = [this] { recorderModel.KeysEnabled = recorder.SavedKeysEnabled(); };
    frmSoundSaveDlg = std::make_unique<TfrmSoundSaveDlg>(this, std::move(saveOwner));
    frmSelSound = std::make_unique<TfrmSelSound>(this);
    frmLesson = std::make_unique<TfrmLesson>(this);
}

void TfrmMain::StartInstrument() {
    if (!terminating_) {
        Guarded([this] { instrument.Start(options.midi); });
    }
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
    Guarded([&] { settings.WriteViewSettings(); });
    Guarded([&] { settings.WriteWindowBounds(); });
    Guarded([&] { settings.StoreBellSet(); });
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
        Guarded([&] { layout.FormResize(); });
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
        for (qsizetype i = form.AddBellItems.size() - 1; i >= 0; --i) {
            delete form.AddBellItems[i];
        }
        form.AddBellItems.clear();
        for (int g = 2; g >= 0; --g) {
            delete form.Markers[g];
        }
        score.Release();
        faces.Release();
        for (int g = 2; g >= 0; --g) {
            delete form.GroupChimeBoxes[g];
        }
        for (qsizetype i = form.Strip.size() - 1; i >= 0; --i) {
            delete form.Strip[i];
        }
        form.Strip.clear();
        data.SoundData.reset();
        data.BellData.reset();
        data.Settings.reset();
    });
    Guarded([&] { voices.FinalSweep(); });
    Guarded([&] { voices.ReleaseVoiceList(); });
}

}  // namespace orvane
