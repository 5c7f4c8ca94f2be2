#include "sound/core/Mci.h"

namespace orvane {

namespace {

const QString kOpenPrefix = QStringLiteral("open waveaudio!");
const QString kAliasWord = QStringLiteral(" alias ");
const QString kPlayPrefix = QStringLiteral("play ");
const QString kStatusPrefix = QStringLiteral("status ");
const QString kModeSuffix = QStringLiteral(" mode");
const QString kClosePrefix = QStringLiteral("close ");

bool IsAlias(const QString& alias) {
    if (alias.isEmpty()) {
        return false;
    }
    for (const QChar c : alias) {
        if (c.isSpace() || c.isNull()) {
            return false;
        }
    }
    return true;
}

int CodeOf(EngineError error) {
    switch (error) {
        case EngineError::kNone:
            return kMciOk;
        case EngineError::kNoDevice:
            return kMciNoDevice;
        case EngineError::kNotFound:
            return kMciFileNotFound;
        case EngineError::kCannotDecode:
            return kMciCannotDecode;
        case EngineError::kNoFreeVoice:
            return kMciNoFreeVoice;
        case EngineError::kBadVoice:
            return kMciUnknownAlias;
        case EngineError::kBusy:
            return kMciBusy;
    }
    return kMciBadCommand;
}

}  // namespace

Mci::Mci(AudioEngine& engine) : engine_(engine) {}

Mci::~Mci() {
    for (const AudioEngine::VoiceId voice : std::as_const(aliases_)) {
        if (voice != kNoVoice) {
            engine_.CloseVoice(voice);
        }
    }
}

int Mci::SendString(const QString& command, QString* answer) {
    if (answer != nullptr) {
        answer->clear();
    }
    if (!engine_.HasDevice()) {
        return kMciNoDevice;
    }
    if (command.startsWith(kOpenPrefix)) {
        const QString rest = command.mid(kOpenPrefix.size());
        const qsizetype at = rest.lastIndexOf(kAliasWord);
        if (at < 0) {
            return kMciBadCommand;
        }
        const QString alias = rest.mid(at + kAliasWord.size());
        if (!IsAlias(alias)) {
            return kMciBadCommand;
        }
        return Open(rest.left(at), alias);
    }
    if (command.startsWith(kPlayPrefix)) {
        const QString alias = command.mid(kPlayPrefix.size());
        return IsAlias(alias) ? Play(alias, std::nullopt) : kMciBadCommand;
    }
    if (command.startsWith(kStatusPrefix) && command.endsWith(kModeSuffix) &&
        command.size() > kStatusPrefix.size() + kModeSuffix.size()) {
        const QString alias = command.mid(
            kStatusPrefix.size(), command.size() - kStatusPrefix.size() - kModeSuffix.size());
        return IsAlias(alias) ? Status(alias, answer) : kMciBadCommand;
    }
    if (command.startsWith(kClosePrefix)) {
        const QString alias = command.mid(kClosePrefix.size());
        return IsAlias(alias) ? Close(alias) : kMciBadCommand;
    }
    return kMciBadCommand;
}

int Mci::Open(const QString& path, const QString& alias) {
    if (aliases_.contains(alias)) {
        return kMciAliasInUse;
    }
    AudioEngine::VoiceId voice = kNoVoice;
    EngineError error = engine_.OpenVoice(path, voice);
    if (error == EngineError::kNoFreeVoice && ReclaimFinishedVoice()) {
        error = engine_.OpenVoice(path, voice);
    }
    if (error != EngineError::kNone) {
        return CodeOf(error);
    }
    aliases_.insert(alias, voice);
    openOrder_.append(alias);
    return kMciOk;
}

bool Mci::ReclaimFinishedVoice() {
    // Finished voices stay open under their alias until the voice list is swept; when every
    // engine voice is taken, the oldest finished one gives its engine voice back. Its alias
    // stays open and reports "stopped" until it is closed.
    for (const QString& alias : std::as_const(openOrder_)) {
        const auto it = aliases_.find(alias);
        if (it == aliases_.end() || *it == kNoVoice || engine_.IsVoicePlaying(*it)) {
            continue;
        }
        engine_.CloseVoice(*it);
        *it = kNoVoice;
        return true;
    }
    return false;
}

int Mci::PlayAt(const QString& alias, std::int64_t frame) {
    if (!engine_.HasDevice()) {
        return kMciNoDevice;
    }
    return IsAlias(alias) ? Play(alias, frame) : kMciBadCommand;
}

int Mci::PlayWithGain(const QString& alias, float gain) {
    if (!engine_.HasDevice()) {
        return kMciNoDevice;
    }
    const float clamped = gain > 1.0f ? 1.0f : (gain > 0.0f ? gain : 0.0f);
    return IsAlias(alias) ? Play(alias, std::nullopt, clamped) : kMciBadCommand;
}

int Mci::Play(const QString& alias, std::optional<std::int64_t> frame, float gain) {
    const auto it = aliases_.constFind(alias);
    if (it == aliases_.constEnd()) {
        return kMciUnknownAlias;
    }
    if (*it == kNoVoice) {
        return kMciNoFreeVoice;  // its engine voice went to a newer voice
    }
    return CodeOf(engine_.PlayVoiceAt(*it, frame, gain));
}

int Mci::Status(const QString& alias, QString* answer) {
    const auto it = aliases_.constFind(alias);
    if (it == aliases_.constEnd()) {
        return kMciUnknownAlias;
    }
    if (answer != nullptr) {
        *answer = *it != kNoVoice && engine_.IsVoicePlaying(*it) ? QStringLiteral("playing")
                                                                 : QStringLiteral("stopped");
    }
    return kMciOk;
}

int Mci::Close(const QString& alias) {
    const auto it = aliases_.find(alias);
    if (it == aliases_.end()) {
        return kMciUnknownAlias;
    }
    const int code = *it == kNoVoice ? kMciOk : CodeOf(engine_.CloseVoice(*it));
    aliases_.erase(it);
    openOrder_.removeOne(alias);
    return code;
}

std::optional<AudioEngine::VoiceId> Mci::VoiceOf(const QString& alias) const {
    const auto it = aliases_.constFind(alias);
    if (it == aliases_.constEnd() || *it == kNoVoice) {
        return std::nullopt;
    }
    return *it;
}

}  // namespace orvane
