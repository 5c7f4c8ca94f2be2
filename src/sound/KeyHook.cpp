#include "sound/KeyHook.h"

#include "app/TfrmMain.h"

namespace orvane {

KeyHook::KeyHook(TfrmMain& main) : QObject(&main), main_(main) {}

void KeyHook::Connect() {}

void KeyHook::Install() {}

}  // namespace orvane
