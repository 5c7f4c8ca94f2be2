#include "help/core/LessonVoicePlayer.h"

#include "app/core/TextFile.h"

#include <QDir>

namespace orvane {

LessonVoicePlayer::LessonVoicePlayer(QString fileName, EngineSource engine)
    : fileName_(std::move(fileName)), engineSource_(std::move(engine)) {}

LessonVoicePlayer::~LessonVoicePlayer() = default;

QString LessonVoicePlayer::FilePath() const {
    return QDir::cleanPath(QDir::current().absoluteFilePath(NativePath(fileName_)));
}

EngineError LessonVoicePlayer::Open() {
    Close();
    engine_ = engineSource_ ? engineSource_() : nullptr;
    if (!engine_ || !engine_->HasDevice()) {
        open_ = true;  // no sound: an open player that never sounds
        return EngineError::kNone;
    }
    const EngineError error = engine_->OpenVoice(FilePath(), voice_);
    open_ = error == EngineError::kNone;
    if (!open_) {
        voice_ = -1;
    }
    return error;
}

EngineError LessonVoicePlayer::Play() {
    if (!open_) {
        return EngineError::kBadVoice;
    }
    if (!engine_ || !engine_->HasDevice()) {
        return EngineError::kNone;
    }
    if (voice_ < 0) {  // stopped: the voice was let go, take it again
        const EngineError error = engine_->OpenVoice(FilePath(), voice_);
        if (error != EngineError::kNone) {
            voice_ = -1;
            return error;
        }
    }
    return engine_->PlayVoiceAt(voice_, std::nullopt);
}

void LessonVoicePlayer::Stop() {
    if (!open_ || voice_ < 0) {
        return;
    }
    // The engine silences a voice only by closing it; Play takes a new one.
    engine_->CloseVoice(voice_);
    voice_ = -1;
}

void LessonVoicePlayer::Close() {
    if (open_ && voice_ >= 0 && engine_) {
        engine_->CloseVoice(voice_);
    }
    voice_ = -1;
    open_ = false;
    engine_ = nullptr;
}

bool LessonVoicePlayer::IsPlaying() const {
    return open_ && voice_ >= 0 && engine_ && engine_->IsVoicePlaying(voice_);
}

}  // namespace orvane
