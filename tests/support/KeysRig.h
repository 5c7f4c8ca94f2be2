#pragma once

#include "chime/ui/TfrmSoundSaveDlg.h"
#include "recorder/ui/RecorderController.h"
#include "sound/ui/KeyHook.h"
#include "support/ChimeRig.h"

#include <QStringList>
#include <memory>

// The chime rig with the key hook and the recorder it hands the strikes to (with the recorder's
// save dialog): the keys of the keyboard reach the bells as in the main window. The hook is
// installed first, as the start-up sequence does.
class KeysRig : public ChimeRig {
public:
    explicit KeysRig(const ProgramFolder& folder)
        : ChimeRig(folder),
          recorderController(window, orvane::RecorderWidgetsOf(form), data, bellModel, recorderModel, frmSoundSaveDlg),
          keyHookController(orvane::KeyHookWidgetsOf(form), data, bellModel, recorderModel, stripController, voicesController,
                            recorderController, bellSetController) {}

    void Start() {
        keyHookController.Install();
        ChimeRig::Start();
        orvane::Guarded([this] { keyHookController.Connect(); });
        orvane::Guarded([this] { recorderController.Connect(); });
        orvane::TfrmSoundSaveDlg::Owner owner;
        owner.chimeDir = data.AppPath.ChimeDir;
        owner.bells = &bellModel.Bells;
        owner.recList = form.mRecList;
        owner.showMessage = [this](const QString& text) { messages.append(text); };
        owner.closed = [this] { recorderModel.KeysEnabled = recorderController.SavedKeysEnabled(); };
        frmSoundSaveDlg = std::make_unique<orvane::TfrmSoundSaveDlg>(&window, std::move(owner));
    }

    QStringList messages;  // shown by the save dialog
    std::unique_ptr<orvane::TfrmSoundSaveDlg> frmSoundSaveDlg;
    orvane::RecorderController recorderController;
    orvane::KeyHook keyHookController;

    orvane::RecorderController* const recorder = &recorderController;
    orvane::KeyHook* const keyHook = &keyHookController;
    orvane::ModelValue<bool>& KeysEnabled = recorderModel.KeysEnabled;
    const QString& RecordText = recorderModel.RecordText.Get();
};
