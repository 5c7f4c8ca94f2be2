#pragma once

#include "sound/core/AudioEngine.h"

#include <QString>
#include <functional>

namespace orvane {

// An invisible media player bound to one MP3 voice file ("Voice\bolshie.mp3"), played through
// the program's audio engine: open, play, stop, close. The file name is relative to the
// program's working folder and may use "\" separators. The engine is asked for at each open
// (it may not exist yet when the player is made); a null engine or an engine without a sound
// device makes every command a silent no-op that reports success, so the program runs on
// without sound. User-interface thread only, like the engine's commands.
class LessonVoicePlayer {
public:
    using EngineSource = std::function<AudioEngine*()>;

    LessonVoicePlayer(QString fileName, EngineSource engine);
    // Does not touch the engine (which may be gone already at shutdown): a voice still open is
    // freed with the engine.
    ~LessonVoicePlayer();
    LessonVoicePlayer(const LessonVoicePlayer&) = delete;
    LessonVoicePlayer& operator=(const LessonVoicePlayer&) = delete;

    const QString& FileName() const { return fileName_; }
    // The file's absolute native path, resolved against the current working folder.
    QString FilePath() const;

    // Opens the file (closing what was open). Fails (returns the engine's error) when the file
    // is missing or cannot be decoded.
    EngineError Open();
    // Plays from the start; the player must be open.
    EngineError Play();
    // Silences the voice; the player stays open and can play again.
    void Stop();
    // Releases the voice; a closed player ignores Stop and Close.
    void Close();

    bool IsOpen() const { return open_; }
    // True while the voice sounds.
    bool IsPlaying() const;

private:
    QString fileName_;
    EngineSource engineSource_;
    AudioEngine* engine_ = nullptr;  // the engine the open voice belongs to
    AudioEngine::VoiceId voice_ = -1;
    bool open_ = false;
};

}  // namespace orvane
