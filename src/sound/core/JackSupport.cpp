#include "sound/core/JackSupport.h"

#include <jack/jack.h>
#include <QLoggingCategory>

#include <cstdlib>

#include <mutex>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

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

bool JackServerMayRun() {
    const char* named = std::getenv("JACK_DEFAULT_SERVER");
    const std::string server = named && *named ? named : "default";
    const std::string uid = std::to_string(::getuid());
    struct stat info {};
    // JACK 2: the server's request socket; JACK 1: the server's folder.
    return ::stat(("/dev/shm/jack_" + server + "_" + uid + "_0").c_str(), &info) == 0 ||
           ::stat(("/dev/shm/jack-" + uid + "/" + server).c_str(), &info) == 0;
}

}  // namespace orvane
