#include "sound/core/VoicePlayer.h"

#include "app/core/Guard.h"

#include <QChar>
#include <QRandomGenerator>

namespace orvane {

namespace {

// The mode answer is read into a buffer of 33 characters, the last one for the NUL.
constexpr qsizetype kAnswerLength = 32;

int SendOnce(MciInterface& mci, const QString& command) {
    try {
        return mci.SendString(command, nullptr);
    } catch (...) {
        return 0;
    }
}

}  // namespace

VoicePlayer::VoicePlayer(MciInterface& mci, RandomFunction random)
    : mci_(mci), random_(std::move(random)) {}

void VoicePlayer::SetRandom(RandomFunction random) {
    random_ = std::move(random);
}

int VoicePlayer::SendCommand(const QString& command) {
    const int first = SendOnce(mci_, command);
    int code = first;
    for (int retry = 0; retry < kCommandRetries && code != 0; ++retry) {
        code = SendOnce(mci_, command);
    }
    return first;
}

bool VoicePlayer::IsVoicePlaying(const QString& alias) {
    QString answer;
    int code = 0;
    try {
        code =
            mci_.SendString(QStringLiteral("status ") + alias + QStringLiteral(" mode"), &answer);
    } catch (...) {
        return false;
    }
    if (code != 0) {
        return false;
    }
    const qsizetype nul = answer.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        answer.truncate(nul);
    }
    answer.truncate(kAnswerLength);
    return answer == QLatin1String("playing");
}

QString VoicePlayer::ChooseStrikeAlias() {
    return ChooseAlias(kStrikeAliasCount);
}

QString VoicePlayer::ChoosePlaybackAlias() {
    return ChooseAlias(kPlaybackAliasCount);
}

QString VoicePlayer::ChooseAlias(int range) {
    // Numbers met during this choice that are listed and still play: not asked again.
    QSet<int> playing;
    for (int draw = 0; draw < kMaxDraws && playing.size() < range; ++draw) {
        const int number = Draw(range);
        const QString alias = QString::number(number);
        if (!voices_.contains(alias)) {
            voices_.append(alias);
            return alias;
        }
        if (playing.contains(number)) {
            continue;
        }
        if (IsVoicePlaying(alias)) {
            playing.insert(number);
        } else {
            CloseVoice(alias);
        }
    }

    // The draws found no free number: take the lowest free one, if any.
    QSet<int> listed;
    for (const QString& alias : voices_) {
        const int number = AliasNumber(alias);
        if (number >= 0 && number < range) {
            listed.insert(number);
        }
    }
    if (listed.size() < range) {
        for (int number = 0; number < range; ++number) {
            if (!listed.contains(number)) {
                const QString alias = QString::number(number);
                voices_.append(alias);
                return alias;
            }
        }
    }

    // Every number of the range is listed: reuse a finished voice's number, oldest first, or
    // else the number of the voice that has played longest.
    QString oldest;
    const QStringList snapshot = voices_;
    for (const QString& alias : snapshot) {
        const int number = AliasNumber(alias);
        if (number < 0 || number >= range) {
            continue;
        }
        if (oldest.isEmpty()) {
            oldest = alias;
        }
        if (!playing.contains(number) && !IsVoicePlaying(alias)) {
            CloseVoice(alias);
            voices_.append(alias);
            return alias;
        }
    }
    CloseVoice(oldest);
    voices_.append(oldest);
    return oldest;
}

int VoicePlayer::Draw(int range) {
    int number = random_ ? random_(range) : int(QRandomGenerator::global()->bounded(range));
    if (number < 0 || number >= range) {
        number = ((number % range) + range) % range;
    }
    return number;
}

void VoicePlayer::CloseVoice(const QString& alias) {
    SendCommand(QStringLiteral("close ") + alias);
    voices_.removeAll(alias);
}

int VoicePlayer::AliasNumber(const QString& alias) {
    bool ok = false;
    const int number = alias.toInt(&ok);
    return ok ? number : -1;
}

QString VoicePlayer::StrikeFile(const QString& path) {
    const QString alias = ChooseStrikeAlias();
    SendCommand(QStringLiteral("open waveaudio!") + path + QStringLiteral(" alias ") + alias);
    SendCommand(QStringLiteral("play ") + alias);
    return alias;
}

QString VoicePlayer::StrikeFile(const QString& path, float gain) {
    if (!(gain < 1.0f)) {
        return StrikeFile(path);
    }
    const QString alias = ChooseStrikeAlias();
    SendCommand(QStringLiteral("open waveaudio!") + path + QStringLiteral(" alias ") + alias);
    // Retried as SendCommand retries.
    for (int attempt = 0; attempt <= kCommandRetries; ++attempt) {
        int code = 0;
        try {
            code = mci_.PlayWithGain(alias, gain);
        } catch (...) {
            code = 0;
        }
        if (code == 0) {
            break;
        }
    }
    return alias;
}

QString VoicePlayer::StartPlaybackVoice(const QString& path) {
    return StartPlaybackVoice(path, std::nullopt);
}

QString VoicePlayer::StartPlaybackVoice(const QString& path,
                                        std::optional<std::int64_t> startFrame) {
    const QString alias = ChoosePlaybackAlias();
    SendCommand(QStringLiteral("open waveaudio!") + path + QStringLiteral(" alias ") + alias);
    if (!startFrame) {
        SendCommand(QStringLiteral("play ") + alias);
        return alias;
    }
    // Retried as SendCommand retries.
    int code = 0;
    for (int attempt = 0; attempt <= kCommandRetries; ++attempt) {
        try {
            code = mci_.PlayAt(alias, *startFrame);
        } catch (...) {
            code = 0;
        }
        if (code == 0) {
            break;
        }
    }
    return alias;
}

void VoicePlayer::ReleaseVoices() {
    const QStringList snapshot = voices_;
    for (const QString& alias : snapshot) {
        if (!IsVoicePlaying(alias)) {
            CloseVoice(alias);
        }
    }
}

void VoicePlayer::FinalSweep() {
    Guarded([this] { ReleaseVoices(); });
}

}  // namespace orvane
