#pragma once

#include <QString>

namespace orvane {

// The media control interface as the voice player uses it: one command text in, an error code
// (0 is success) and an optional answer text out. The four command texts are
//   "open waveaudio!<path> alias <n>", "play <n>", "status <n> mode", "close <n>".
// Called on the user-interface thread only.
class MciInterface {
public:
    virtual ~MciInterface() = default;
    virtual int SendString(const QString& command, QString* answer) = 0;
};

}  // namespace orvane
