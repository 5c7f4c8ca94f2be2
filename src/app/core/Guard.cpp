#include "app/core/Guard.h"

namespace orvane {

Q_LOGGING_CATEGORY(lcGuard, "orvane.guard", QtInfoMsg)

void GuardLog::Record(const char* what) {
    count_.fetch_add(1);
    qCDebug(lcGuard) << "a handler ended early and its exception was swallowed:" << what;
}

}  // namespace orvane
