#pragma once

#include "app/core/IniFile.h"
#include "app/ui/TfrmMain.h"
#include "chime/ui/TfrmSelSound.h"
#include "chime/ui/TfrmSoundSaveDlg.h"
#include "help/ui/TAboutBox.h"
#include "help/ui/TfrmLesson.h"
#include "score/ui/TfrmPrint.h"

#include <utility>

// The main window as the whole-window tests see it: what the window owns, under the names the
// tests use (the controllers as pointers, the models' values and the program data by the names
// they carry on the window).
class TestWindow : public orvane::TfrmMain {
public:
    explicit TestWindow(orvane::StartOptions options) : TfrmMain(std::move(options)) {}

    using TfrmMain::AboutBox;
    using TfrmMain::data;
    using TfrmMain::form;
    using TfrmMain::frmLesson;
    using TfrmMain::frmPrint;
    using TfrmMain::frmSelSound;
    using TfrmMain::frmSoundSaveDlg;
    using TfrmMain::options;
    using TfrmMain::rng;

    // The models.
    orvane::BellSetModel& bellModel = this->TfrmMain::bellModel;
    orvane::TransportModel& transportModel = this->TfrmMain::transportModel;
    orvane::RecorderModel& recorderModel = this->TfrmMain::recorderModel;
    orvane::ViewModel& viewModel = this->TfrmMain::viewModel;
    orvane::BellSet& Bells = bellModel.Bells;
    orvane::ModelValue<int>& CurrentBell = bellModel.CurrentBell;
    orvane::ModelValue<int>& VariantIndex = bellModel.VariantIndex;
    orvane::ModelValue<int>& StepPosition = transportModel.StepPosition;
    orvane::ModelValue<int>& CurrentPage = transportModel.CurrentPage;
    orvane::ModelValue<bool>& CasualMode = transportModel.CasualMode;
    orvane::ModelValue<bool>& StudyMode = transportModel.StudyMode;
    orvane::ModelValue<bool>& Recording = recorderModel.Recording;
    const QString& RecordText = recorderModel.RecordText.Get();
    orvane::ModelValue<quint32>& RecElapsed = recorderModel.RecElapsed;
    orvane::ModelValue<bool>& KeysEnabled = recorderModel.KeysEnabled;
    orvane::ModelValue<bool>& ShowTools = viewModel.ShowTools;
    orvane::ModelValue<bool>& ShowBells = viewModel.ShowBells;
    orvane::ModelValue<bool>& ShowInfo = viewModel.ShowInfo;
    orvane::ModelValue<bool>& ShowGroups = viewModel.ShowGroups;
    orvane::ModelValue<bool>& SchematicView = viewModel.SchematicView;

    // The program data.
    orvane::TAppPath& AppPath = data.AppPath;
    QString& MonoTempDir = data.MonoTempDir;
    QString& StereoTempDir = data.StereoTempDir;
    std::unique_ptr<orvane::IniFile>& Settings = data.Settings;
    std::unique_ptr<orvane::TBellData>& BellData = data.BellData;
    std::unique_ptr<orvane::TSoundData>& SoundData = data.SoundData;
    std::unique_ptr<orvane::TChannels>& Channels = data.Channels;

    // Controls created at start-up.
    QList<QPointer<orvane::TImage>>& Strip = form.Strip;
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes = form.GroupChimeBoxes;
    std::array<QPointer<QWidget>, 3>& Markers = form.Markers;
    QList<QPointer<QAction>>& AddBellItems = form.AddBellItems;

    // The controllers.
    orvane::SettingsController* const settings = &this->TfrmMain::settings;
    orvane::LayoutController* const layout = &this->TfrmMain::layout;
    orvane::StripController* const strip = &this->TfrmMain::strip;
    orvane::BellSetController* const bellSet = &this->TfrmMain::bellSet;
    orvane::GroupsController* const groups = &this->TfrmMain::groups;
    orvane::VoiceController* const voices = &this->TfrmMain::voices;
    orvane::VolumeController* const volume = &this->TfrmMain::volume;
    orvane::KeyHook* const keyHook = &this->TfrmMain::keyHook;
    orvane::InstrumentController* const instrument = &this->TfrmMain::instrument;
    orvane::PlayerController* const player = &this->TfrmMain::player;
    orvane::LibraryController* const library = &this->TfrmMain::library;
    orvane::CasualController* const casual = &this->TfrmMain::casual;
    orvane::ScoreController* const score = &this->TfrmMain::score;
    orvane::PrintController* const print = &this->TfrmMain::print;
    orvane::ExportController* const exporter = &this->TfrmMain::exporter;
    orvane::FacesController* const faces = &this->TfrmMain::faces;
    orvane::RecorderController* const recorder = &this->TfrmMain::recorder;
    orvane::HelpController* const help = &this->TfrmMain::help;
    orvane::PracticeController* const practice = &this->TfrmMain::practice;
};
