#pragma once

#include <QByteArray>
#include <QString>

namespace orvane {

// The soft click of the count-in: a 25 ms burst of 1.6 kHz under a raised-cosine envelope, at
// a quarter of full scale, as a mono 16-bit PCM WAV file.
class ClickSound {
  public:
    static QByteArray Wave(int sampleRate);
    // Writes the file (atomically) unless it exists with the same content; false on failure.
    static bool Write(const QString& path, int sampleRate);
};

}  // namespace orvane
