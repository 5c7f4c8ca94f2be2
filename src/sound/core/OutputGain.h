#pragma once

#include <QtGlobal>

namespace orvane {

// The output level of the sound device: the volume word holds the left channel in the low 16
// bits and the right channel in the high 16 bits, each 0 to 65535. Applied to every voice at
// once, the ringing ones included. Called on the user-interface thread.
class OutputGain {
public:
    virtual ~OutputGain() = default;
    // False when no sound device is open: reads then fail and writes do nothing.
    virtual bool HasDevice() const = 0;
    // False when the word could not be read.
    virtual bool ReadVolumeWord(quint32& word) const = 0;
    virtual void WriteVolumeWord(quint32 word) = 0;
};

}  // namespace orvane
