#include "help/HelpController.h"

#include "app/TfrmMain.h"

namespace orvane {

HelpController::HelpController(TfrmMain& main) : QObject(&main), main_(main) {}

void HelpController::Connect() {}


}  // namespace orvane
