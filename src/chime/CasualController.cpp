#include "chime/CasualController.h"

#include "app/TfrmMain.h"

namespace orvane {

CasualController::CasualController(TfrmMain& main) : QObject(&main), main_(main) {}

void CasualController::Connect() {}


}  // namespace orvane
