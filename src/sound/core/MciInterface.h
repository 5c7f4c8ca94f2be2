#pragma once

#include <QString>
#include <cstdint>

namespace orvane {

// The media control interface as the voice player uses it: one command text in, an error code
// (0 is success) and an optional answer text out. The four command texts are
//   "open waveaudio!<path> alias <n>", "play <n>", "status <n> mode", "close <n>".
// Called on the user-interface thread only.
class MciInterface {
public:
    virtual ~MciInterface() = default;
    virtual int SendString(const QString& command, QString* answer) = 0;
    // As "play <alias>", but the voice starts at absolute output frame `frame` (a frame that has
    // passed starts it at once). An adapter without a frame clock plays it at once.
    virtual int PlayAt(const QString& alias, std::int64_t frame) {
        (void)frame;
        return SendString(QStringLiteral("play ") + alias, nullptr);
    }
    // As "play <alias>", the voice sounding at a linear gain (1 = as decoded, at most 1). An
    // adapter without gains plays it as "play" does.
    virtual int PlayWithGain(const QString& alias, float gain) {
        (void)gain;
        return SendString(QStringLiteral("play ") + alias, nullptr);
    }
};

}  // namespace orvane
