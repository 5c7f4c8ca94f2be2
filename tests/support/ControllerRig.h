#pragma once

#include "app/core/IniFile.h"
#include "app/core/LibraryInstaller.h"
#include "app/core/ProgramData.h"
#include "app/core/ViewModel.h"
#include "app/ui/ControllerWidgets.h"
#include "app/ui/MainForm.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "chime/core/TChannels.h"
#include "chime/core/TransportModel.h"
#include "recorder/core/RecorderModel.h"
#include "support/ProgramFolder.h"
#include "support/RecordingReporter.h"

#include <QMainWindow>
#include <memory>
#include <random>

// What a controller is built from, without a main window: a plain window holding the form,
// the four models with the values the start-up sequence gives them, and the program data read
// from a program folder with its chime library installed (fatal data-file reports are
// recorded). A test adds the controller
// under test and the collaborators it calls.
class ControllerRig {
public:
    explicit ControllerRig(const ProgramFolder& folder) : form(&window) {
        orvane::InstallChimeLibrary(folder.Dir(), QStringLiteral(":/payload/Setup"));
        data.AppPath = orvane::FormAppPath(folder.Dir());
        data.MonoTempDir = folder.CacheDir() + QStringLiteral("/TempOrvaneMono");
        data.StereoTempDir = folder.CacheDir() + QStringLiteral("/TempOrvaneStereo");
        data.Settings = std::make_unique<orvane::IniFile>(data.AppPath.IniFile);
        data.BellData = std::make_unique<orvane::TBellData>(data.AppPath.DescFile, reporter);
        data.SoundData = std::make_unique<orvane::TSoundData>(data.AppPath.ChimeDir, reporter);
        data.Channels = std::make_unique<orvane::TChannels>();
        recorderModel.KeysEnabled = true;
    }

    QMainWindow window;
    orvane::MainForm form;
    RecordingReporter reporter;
    orvane::ProgramData data;
    orvane::BellSetModel bellModel;
    orvane::TransportModel transportModel;
    orvane::RecorderModel recorderModel;
    orvane::ViewModel viewModel;
    std::mt19937 rng{7};
};
