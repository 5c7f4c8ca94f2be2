#include "sound/VoiceController.h"

#include "app/TfrmMain.h"

namespace orvane {

VoiceController::VoiceController(TfrmMain& main) : QObject(&main), main_(main) {}

void VoiceController::Connect() {}

void VoiceController::StrikeBell(int) {}

void VoiceController::ReleaseVoices() {}

void VoiceController::FinalSweep() {}

}  // namespace orvane
