#include "recorder/RecorderController.h"

#include "app/TfrmMain.h"

namespace orvane {

RecorderController::RecorderController(TfrmMain& main) : QObject(&main), main_(main) {}

void RecorderController::Connect() {}

void RecorderController::FitToBellsBox() {}

}  // namespace orvane
