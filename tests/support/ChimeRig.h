#pragma once

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "app/ui/LayoutController.h"
#include "app/ui/SettingsController.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/ui/GroupsController.h"
#include "chime/ui/CasualController.h"
#include "chime/ui/ExportController.h"
#include "chime/ui/LibraryController.h"
#include "chime/ui/PlayerController.h"
#include "chime/ui/TfrmSelSound.h"
#include "score/ui/ScoreController.h"
#include "sound/core/OfflineOutput.h"
#include "sound/ui/StripController.h"
#include "sound/ui/VoiceController.h"
#include "sound/ui/VolumeController.h"
#include "support/ControllerRig.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// The bell strip, the voices and the volume, the bell set and its groups, the player with the
// chime library and casual play, the score view, the faces, the layout and the audio export,
// built from their collaborators without a main window (no key hook, recorder, printing, help,
// practice or instrument). Start() runs the steps of the start-up sequence that concern them,
// in their order. Sound goes to an offline output that the test renders.
class ChimeRig : public ControllerRig {
public:
    explicit ChimeRig(const ProgramFolder& folder)
        : ControllerRig(folder),
          settingsController(window, orvane::SettingsWidgetsOf(form), data, bellModel, viewModel, layoutController),
          layoutController(orvane::LayoutWidgetsOf(form), viewModel, stripController, scoreController, facesController, playerController),
          stripController(orvane::StripWidgetsOf(form), data, bellModel, reporter, [this](int bell) { bellSetController.ToggleBell(bell); },
                          voicesController),
          bellSetController(orvane::BellSetWidgetsOf(form), data, bellModel, stripController, groupsController, voicesController,
                            [this] { playerController.ResetPlayer(); }),
          groupsController(orvane::GroupsWidgetsOf(form), data, bellModel, reporter, bellSetController, voicesController),
          voicesController(orvane::VoiceWidgetsOf(form), data, bellModel, reporter, rng, stripController, settingsController, facesController,
                           [this]() -> std::unique_ptr<orvane::AudioOutput> {
                               auto output = std::make_unique<orvane::OfflineOutput>();
                               offline = output.get();
                               return output;
                           }),
          volumeController(orvane::VolumeWidgetsOf(form), voicesController),
          playerController(orvane::PlayerWidgetsOf(form), data, bellModel, transportModel, frmSelSound, volumeController, voicesController,
                           scoreController, libraryController, facesController, casualController),
          libraryController(window, orvane::LibraryWidgetsOf(form), data, transportModel, frmSelSound, playerController, scoreController,
                            groupsController, bellSetController),
          casualController(orvane::CasualWidgetsOf(form), bellModel, rng, frmSelSound, playerController, libraryController),
          scoreController(window, orvane::ScoreWidgetsOf(form), data, bellModel, transportModel, playerController),
          exporterController(window, form.nExportAudio,
                             [this] {
                                 return orvane::CurrentExportSettings(orvane::ExportWidgetsOf(form), data, bellModel.Bells, voicesController,
                                                                      volumeController);
                             }),
          facesController(orvane::FacesWidgetsOf(form), data, bellModel, viewModel, layoutController),
          resizer(*this) {}

    ~ChimeRig() {
        form.mmTimer->stop();
        form.mmResetTimer->stop();
        scoreController.Release();
        facesController.Release();
        voicesController.FinalSweep();
        voicesController.ReleaseVoiceList();
    }

    // The start-up steps of these controllers, then their connections; the client area's
    // size changes reach the layout as in the main window.
    void Start() {
        using orvane::Guarded;
        orvane::CopySoundFiles(data.AppPath.SoundDir + QStringLiteral("Mono"), data.MonoTempDir);
        orvane::CopySoundFiles(data.AppPath.SoundDir + QStringLiteral("Stereo"), data.StereoTempDir);
        if (!QFileInfo::exists(data.AppPath.IniFile)) {
            settingsController.CreateDefaultSettings();
        }
        settingsController.ReadSettings();
        settingsController.ReadWindowBounds();
        layoutController.ApplyViewPanels();
        form.udPage->setMaximum(form.udPage->minimum());
        Guarded([&] { stripController.BuildStrip(); });
        Guarded([&] { bellSetController.CreateGroupChimeBoxes(); });
        Guarded([&] { facesController.CreateFaces(); });
        Guarded([&] { scoreController.CreateScoreImages(); });
        Guarded([&] { layoutController.CreateMarkers(); });
        BuildAddBellMenu();
        bellModel.Bells.Clear();
        groupsController.FillVariantTable();
        bellModel.VariantIndex = 0;
        Guarded([&] { stripController.RefreshPreview(); });
        Guarded([&] { bellSetController.FullRefresh(); });
        bellSetController.LoadStoredBellSet();
        volumeController.DetectVolumeDevices();
        Guarded([&] { volumeController.ShowDeviceLevel(); });
        playerController.ShowTempo();
        Guarded([&] { facesController.ApplyViewAtStart(); });
        groupsController.RefreshTotals();
        Guarded([&] { facesController.cbViewChange(); });
        Guarded([&] { scoreController.cbShowNotesClick(); });
        Guarded([&] { facesController.cbShowMovieClick(); });
        for (auto connect : std::initializer_list<std::function<void()>>{
                 [this] { bellSetController.Connect(); }, [this] { groupsController.Connect(); },
                 [this] { voicesController.Connect(); }, [this] { volumeController.Connect(); },
                 [this] { playerController.Connect(); }, [this] { libraryController.Connect(); },
                 [this] { casualController.Connect(); }, [this] { scoreController.Connect(); },
                 [this] { exporterController.Connect(); }, [this] { facesController.Connect(); }}) {
            Guarded(connect);
        }
        frmSelSound = std::make_unique<orvane::TfrmSelSound>(&window);
        form.client->installEventFilter(&resizer);
        started = true;
    }

    // The window as the tests see the main window.
    void show() { window.show(); }
    void resize(int width, int height) { window.resize(width, height); }
    QString windowTitle() const { return window.windowTitle(); }
    const QStringList& VoiceList() const { return voicesController.VoiceList(); }

    std::unique_ptr<orvane::TfrmSelSound> frmSelSound;
    orvane::OfflineOutput* offline = nullptr;  // owned by the voices' audio engine

private:
    // The "Add bell" items of the groups tree's popup menu, one per catalogue bell.
    void BuildAddBellMenu() {
        for (int i = 0; i < orvane::TBellData::kBellCount; ++i) {
            auto* item = new QAction(form.imgBells.value(0), data.BellData->Cell(orvane::TBellData::kName, i), form.nAdd);
            item->setData(i);
            item->setVisible(true);
            form.AddBellItems.append(item);
            form.nAdd->addAction(item);
        }
    }

    class Resizer : public QObject {
    public:
        explicit Resizer(ChimeRig& rig) : rig_(rig) {}

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (watched == rig_.form.client && event->type() == QEvent::Resize && rig_.started) {
                rig_.form.client->layout()->setGeometry(rig_.form.client->rect());
                orvane::Guarded([&] { rig_.layoutController.FormResize(); });
            }
            return false;
        }

    private:
        ChimeRig& rig_;
    };

public:
    // In the main window's order of construction.
    orvane::SettingsController settingsController;
    orvane::LayoutController layoutController;
    orvane::StripController stripController;
    orvane::BellSetController bellSetController;
    orvane::GroupsController groupsController;
    orvane::VoiceController voicesController;
    orvane::VolumeController volumeController;
    orvane::PlayerController playerController;
    orvane::LibraryController libraryController;
    orvane::CasualController casualController;
    orvane::ScoreController scoreController;
    orvane::ExportController exporterController;
    orvane::FacesController facesController;
    Resizer resizer;
    bool started = false;

    // Under the names the whole-window tests use.
    orvane::SettingsController* const settings = &settingsController;
    orvane::LayoutController* const layout = &layoutController;
    orvane::StripController* const strip = &stripController;
    orvane::BellSetController* const bellSet = &bellSetController;
    orvane::GroupsController* const groups = &groupsController;
    orvane::VoiceController* const voices = &voicesController;
    orvane::VolumeController* const volume = &volumeController;
    orvane::PlayerController* const player = &playerController;
    orvane::LibraryController* const library = &libraryController;
    orvane::CasualController* const casual = &casualController;
    orvane::ScoreController* const score = &scoreController;
    orvane::ExportController* const exporter = &exporterController;
    orvane::FacesController* const faces = &facesController;

    orvane::BellSet& Bells = bellModel.Bells;
    orvane::ModelValue<int>& CurrentBell = bellModel.CurrentBell;
    orvane::ModelValue<int>& VariantIndex = bellModel.VariantIndex;
    orvane::ModelValue<int>& StepPosition = transportModel.StepPosition;
    orvane::ModelValue<int>& CurrentPage = transportModel.CurrentPage;
    orvane::ModelValue<bool>& CasualMode = transportModel.CasualMode;
    orvane::ModelValue<bool>& StudyMode = transportModel.StudyMode;
    orvane::TAppPath& AppPath = data.AppPath;
    QString& MonoTempDir = data.MonoTempDir;
    QString& StereoTempDir = data.StereoTempDir;
    std::unique_ptr<orvane::IniFile>& Settings = data.Settings;
    std::unique_ptr<orvane::TBellData>& BellData = data.BellData;
    std::unique_ptr<orvane::TSoundData>& SoundData = data.SoundData;
    std::unique_ptr<orvane::TChannels>& Channels = data.Channels;
    QList<QPointer<orvane::TImage>>& Strip = form.Strip;
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes = form.GroupChimeBoxes;
    std::array<QPointer<QWidget>, 3>& Markers = form.Markers;
    QList<QPointer<QAction>>& AddBellItems = form.AddBellItems;
};

// A fixture with a started rig (a ChimeRig or one built on it) in place of the main window:
// settings written before the start, the window shown and exposed.
template <class Rig>
class ChimeRigFixtureOf : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        orvane::GuardLog::Reset();
    }

    std::unique_ptr<Rig> Start(bool shown = true) {
        auto w = std::make_unique<Rig>(folder);
        offline = nullptr;
        w->Start();
        offline = w->offline;
        if (shown) {
            w->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&w->window));
        }
        return w;
    }

    // Writes a settings file before the start (CR LF line ends are added).
    void WriteSettings(const QStringList& lines) {
        ProgramFolder::Write(folder.Path("orvane.ini"), (lines.join("\r\n") + "\r\n").toLatin1());
    }

    ProgramFolder folder;
    orvane::OfflineOutput* offline = nullptr;
};

using ChimeRigFixture = ChimeRigFixtureOf<ChimeRig>;
