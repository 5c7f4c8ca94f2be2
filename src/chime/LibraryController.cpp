#include "chime/LibraryController.h"

#include "app/TfrmMain.h"

namespace orvane {

LibraryController::LibraryController(TfrmMain& main) : QObject(&main), main_(main) {}

void LibraryController::Connect() {}

void LibraryController::ForgetLastChime() {}

}  // namespace orvane
