#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "sound/core/AudioEngine.h"
#include "sound/core/MciInterface.h"

namespace orvane {

// The answers of Mci::SendString. 0 is success; each failure has its own code.
enum MciCode : int {
    kMciOk = 0,
    kMciBadCommand = 1,    // not one of the four command texts
    kMciUnknownAlias = 2,  // no voice is open under the alias
    kMciFileNotFound = 3,
    kMciCannotDecode = 4,  // the file is not a sound that can be read
    kMciNoDevice = 5,      // no output is open: every command gets this
    kMciAliasInUse = 6,    // open with an alias that is already open
    kMciNoFreeVoice = 7,   // every voice of the engine is open
    kMciBusy = 8,          // the audio thread is behind; the same command may succeed later
};

// The four voice commands over the audio engine:
//   "open waveaudio!<path> alias <n>"  opens a voice on the file under alias n (a sound not
//                                      decoded yet is decoded off this thread, head first); the
//                                      path runs up to the last " alias " and may hold spaces
//   "play <n>"                         starts the voice from its beginning at once
//   "status <n> mode"                  answers "playing" or "stopped" (ended or never played)
//   "close <n>"                        closes the voice, silencing it if it still sounds
// Keywords are lower case; an alias is one word without spaces. UI thread only.
class Mci final : public MciInterface {
  public:
    explicit Mci(AudioEngine& engine);
    // Closes the voices that are still open.
    ~Mci() override;
    Mci(const Mci&) = delete;
    Mci& operator=(const Mci&) = delete;

    // `answer`, when given, is set to the mode text for "status" and emptied otherwise.
    int SendString(const QString& command, QString* answer) override;
    // The typed start under "play": at absolute output frame `frame`, answering as "play" does.
    int PlayAt(const QString& alias, std::int64_t frame) override;
    // The typed start under "play" with a gain: at once, at a linear gain clamped to 0 to 1.
    int PlayWithGain(const QString& alias, float gain) override;

    // The engine voice under `alias`, for reading back its start frame.
    std::optional<AudioEngine::VoiceId> VoiceOf(const QString& alias) const;
    int OpenAliasCount() const { return static_cast<int>(aliases_.size()); }
    AudioEngine& Engine() { return engine_; }

  private:
    int Open(const QString& path, const QString& alias);
    int Play(const QString& alias, std::optional<std::int64_t> frame, float gain = 1.0f);
    int Status(const QString& alias, QString* answer);
    int Close(const QString& alias);
    bool ReclaimFinishedVoice();

    static constexpr AudioEngine::VoiceId kNoVoice = -1;
    AudioEngine& engine_;
    QHash<QString, AudioEngine::VoiceId> aliases_;
    QStringList openOrder_;  // open aliases, oldest first
};

}  // namespace orvane
