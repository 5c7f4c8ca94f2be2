#include "sound/VolumeController.h"

#include "app/TfrmMain.h"

namespace orvane {

VolumeController::VolumeController(TfrmMain& main) : QObject(&main), main_(main) {}

void VolumeController::Connect() {}

void VolumeController::DetectVolumeDevices() {}

void VolumeController::ShowDeviceLevel() {}

}  // namespace orvane
