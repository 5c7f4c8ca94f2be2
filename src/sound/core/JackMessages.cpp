#include "sound/core/JackMessages.h"

#include <jack/jack.h>
#include <QLoggingCategory>

#include <mutex>

namespace orvane {

Q_LOGGING_CATEGORY(lcJack, "orvane.jack", QtWarningMsg)

namespace {

void JackMessage(const char* text) {
    qCDebug(lcJack, "%s", text);
}

}  // namespace

void RouteJackMessages() {
    static std::once_flag once;
    std::call_once(once, [] {
        jack_set_error_function(JackMessage);
        jack_set_info_function(JackMessage);
    });
}

}  // namespace orvane
