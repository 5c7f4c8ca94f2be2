#pragma once

#include "sound/core/MciInterface.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace orvane {

// Random(n): a whole number from 0 to n - 1. Seeded from the clock in the program, fixed in
// tests.
using RandomFunction = std::function<int(int n)>;

// The voice list and the voice commands. A voice is one sound file opened and played under a
// numeric alias; the voice list holds the aliases that are open, in the order they were opened.
// Strike voices take aliases 0 to 63, playback voices 0 to 65564; both share the one list, so a
// number taken by either is taken for both.
//
// Everything here runs on the user-interface thread. The MCI interface is the only way to the
// sound and must outlive the player. No member throws for a fault of the sound device: a
// rejected command is retried a bounded number of times and then given up, and the voice stays
// listed until a sweep or an alias draw finds it not playing.
class VoicePlayer {
  public:
    static constexpr int kStrikeAliasCount = 64;
    static constexpr int kPlaybackAliasCount = 65565;
    // Further attempts of a command that the device rejects.
    static constexpr int kCommandRetries = 2;
    // Draws of one alias choice before the choice turns to a scan of the list; keeps the
    // choice bounded whatever the generator returns.
    static constexpr int kMaxDraws = 256;

    // random may be empty: the process-wide generator is used then.
    VoicePlayer(MciInterface& mci, RandomFunction random = {});

    VoicePlayer(const VoicePlayer&) = delete;
    VoicePlayer& operator=(const VoicePlayer&) = delete;

    // The open aliases, oldest first.
    const QStringList& Voices() const { return voices_; }

    void SetRandom(RandomFunction random);

    // Sends one command; a non-zero answer is sent again up to kCommandRetries further times.
    // Returns the error code of the first attempt (0 is success); a fault raised while sending
    // yields 0.
    int SendCommand(const QString& command);

    // True when "status <alias> mode" succeeds and its answer, cut at the first NUL, is exactly
    // "playing". Sent once, not through SendCommand; a failed query gives false.
    bool IsVoicePlaying(const QString& alias);

    // Choose an alias and append it to the voice list. Finished voices that the draw meets are
    // closed and removed. When every number of the range is listed and still plays, the voice
    // that has held a number of the range longest is closed and its number reused, so the
    // choice never waits for a sound to end.
    QString ChooseStrikeAlias();
    QString ChoosePlaybackAlias();

    // Opens the wave file at path under a new strike alias and plays it without waiting.
    // Returns the alias. The caller has checked that the file exists.
    QString StrikeFile(const QString& path);
    // As StrikeFile, the voice sounding at a linear gain (1 = a key strike's level, at most 1);
    // a gain of 1 sends exactly the commands of StrikeFile.
    QString StrikeFile(const QString& path, float gain);

    // Opens the wave file at path under a new playback alias and plays it without waiting.
    // Returns the alias.
    QString StartPlaybackVoice(const QString& path);
    // As StartPlaybackVoice, the voice starting at absolute output frame `startFrame` when one is
    // given (the typed start under "play"), else at once.
    QString StartPlaybackVoice(const QString& path, std::optional<std::int64_t> startFrame);

    // The sweep: closes every listed voice that no longer plays and removes it from the list;
    // voices that still play stay open and listed.
    void ReleaseVoices();

    // The last sweep at shutdown, after the timers are off: like ReleaseVoices, but any fault
    // is swallowed. Voices that still play are left open.
    void FinalSweep();

  private:
    QString ChooseAlias(int range);
    int Draw(int range);
    void CloseVoice(const QString& alias);
    static int AliasNumber(const QString& alias);

    MciInterface& mci_;
    RandomFunction random_;
    QStringList voices_;
};

}  // namespace orvane
