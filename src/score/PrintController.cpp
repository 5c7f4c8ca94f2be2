#include "score/PrintController.h"

#include "app/TfrmMain.h"

namespace orvane {

PrintController::PrintController(TfrmMain& main) : QObject(&main), main_(main) {}

void PrintController::Connect() {}


}  // namespace orvane
