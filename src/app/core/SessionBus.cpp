#include "app/core/SessionBus.h"

#include <QByteArray>
#include <QtGlobal>

namespace orvane {

void KeepSessionBusFromLaunching() {
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray("disabled:"));
    }
}

}  // namespace orvane
