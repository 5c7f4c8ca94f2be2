#pragma once

namespace orvane {

// How far RaiseAudioThreadPriority got.
enum class AudioThreadPriority {
    kRealTime,  // a real-time (first-in, first-out) thread: runs before every ordinary thread
    kRaised,    // an ordinary thread with a raised niceness
    kNormal,    // the system allowed neither: unchanged
};

// Raises the calling thread's scheduling priority as far as the system permits, so that the
// sound device's callback is not kept waiting by other busy processes: first a low real-time
// priority, else a raised niceness, else nothing (quietly). Call it on the audio thread.
AudioThreadPriority RaiseAudioThreadPriority();

}  // namespace orvane
