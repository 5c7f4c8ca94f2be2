#include "sound/core/AudioEngine.h"

#include <algorithm>

#include "sound/core/VoiceCommandIntake.h"

namespace orvane {

namespace {

thread_local bool tInAudioCallback = false;

}  // namespace

bool InAudioCallback() {
    return tInAudioCallback;
}

AudioCallbackScope::AudioCallbackScope() : previous_(tInAudioCallback) {
    tInAudioCallback = true;
}

AudioCallbackScope::~AudioCallbackScope() {
    tInAudioCallback = previous_;
}

AudioEngine::AudioEngine(std::unique_ptr<AudioOutput> output)
    : output_(std::move(output)),
      hasDevice_(output_->Open()),
      sampleRate_(hasDevice_ ? output_->SampleRate() : kDefaultSampleRate),
      bufferFrames_(hasDevice_ ? output_->BufferFrames() : 0),
      clock_(sampleRate_),
      cache_(sampleRate_),
      sequencer_(sampleRate_) {
    retired_.reserve(kVoiceCount);
    mixer_ = std::make_unique<Mixer>(sampleRate_);
    instrument_ = std::make_unique<InstrumentVoices>(*mixer_, kVoiceCount, kVoiceCount);
    mixer_->SetChunkHook(&sequencer_);
    if (hasDevice_) {
        output_->Start(this);
    }
}

AudioEngine::~AudioEngine() {
    output_->Stop();
    // Nothing renders any more: the voices' sounds can go with the members.
}

void AudioEngine::AwaitSounds() {
    // Whole sounds, not only their heads: an offline render runs faster than real time and would
    // overtake the background decode of a sound's rest.
    cache_.WaitIdle();
}

void AudioEngine::RenderAudio(float* out, int frames,
                              std::chrono::steady_clock::time_point callbackTime) {
    AudioCallbackScope scope;
    clock_.OnBuffer(mixer_->FramesRendered(), frames, callbackTime);
    mixer_->Render(out, frames);
}

bool AudioEngine::Valid(VoiceId voice) const {
    return voice >= 0 && voice < kVoiceCount && slots_[voice].open;
}

EngineError AudioEngine::OpenVoice(const QString& path, VoiceId& voice) {
    voice = -1;
    if (!hasDevice_) {
        return EngineError::kNoDevice;
    }
    Collect();
    const auto free =
        std::find_if(slots_.begin(), slots_.end(), [](const Slot& slot) { return !slot.open; });
    if (free == slots_.end()) {
        return EngineError::kNoFreeVoice;
    }
    DecodeResult decoded = cache_.Request(path);
    switch (decoded.error) {
        case DecodeError::kNone:
            break;
        case DecodeError::kNotFound:
            return EngineError::kNotFound;
        case DecodeError::kCannotDecode:
            return EngineError::kCannotDecode;
    }
    *free = Slot{true, false, 0, std::move(decoded.buffer), path};
    ++openCount_;
    voice = static_cast<VoiceId>(free - slots_.begin());
    return EngineError::kNone;
}

void AudioEngine::PrepareSounds(const QStringList& paths) {
    if (!hasDevice_) {
        return;
    }
    for (const QString& path : paths) {
        cache_.Get(path);
    }
}

EngineError AudioEngine::PlayVoice(VoiceId voice) {
    return PlayVoiceAt(voice, std::nullopt);
}

EngineError AudioEngine::PlayVoiceAt(VoiceId voice, std::optional<std::int64_t> frame,
                                     float gain) {
    if (!hasDevice_) {
        return EngineError::kNoDevice;
    }
    Collect();
    if (!Valid(voice)) {
        return EngineError::kBadVoice;
    }
    Slot& slot = slots_[voice];
    VoiceCommand command;
    command.kind = VoiceCommand::Kind::kPlay;
    command.voice = static_cast<std::uint16_t>(voice);
    command.buffer = slot.buffer.get();
    command.startFrame = frame ? std::max<std::int64_t>(*frame, 0) : Mixer::kStartNow;
    command.gain = gain;
    // Room for a stop of every voice stays free, so that closing never fails.
    const std::uint64_t serial =
        SendVoiceCommand(mixer_->Commands(), command, static_cast<std::size_t>(kVoiceCount));
    if (serial == 0) {
        return EngineError::kBusy;
    }
    slot.played = true;
    slot.lastPlaySerial = serial;
    if (startLog_) {
        playPaths_[serial] = slot.path;
    }
    return EngineError::kNone;
}

EngineError AudioEngine::CloseVoice(VoiceId voice) {
    if (!hasDevice_) {
        return EngineError::kNoDevice;
    }
    if (!Valid(voice)) {
        return EngineError::kBadVoice;
    }
    Slot& slot = slots_[voice];
    if (slot.played) {
        VoiceCommand command;
        command.kind = VoiceCommand::Kind::kStop;
        command.voice = static_cast<std::uint16_t>(voice);
        // Cannot fail: every play keeps room for one stop per voice.
        const std::uint64_t serial = SendVoiceCommand(mixer_->Commands(), command, 0);
        // Were it ever refused, the sound stays kept for the engine's life rather than be freed
        // under a voice that may still play it.
        retired_.push_back({serial != 0 ? serial : ~std::uint64_t{0}, std::move(slot.buffer)});
    }
    slot = Slot{};
    --openCount_;
    Collect();
    return EngineError::kNone;
}

void AudioEngine::Collect() {
    const std::uint64_t processed = mixer_->ProcessedSerial();
    std::erase_if(retired_, [processed](const Retired& r) { return r.serial <= processed; });
    DrainStarts();
    const std::uint64_t inUse = sequencer_.PlanInUse();
    // Plans sent later than the audio thread's last report have higher serials: they stay.
    std::erase_if(plans_, [inUse](const auto& kept) { return kept.first < inUse; });
}

std::uint64_t AudioEngine::KeepPlan(SequencePlan plan) {
    if (!hasDevice_) {
        return 0;
    }
    Collect();
    auto kept = std::make_unique<SequencePlan>(std::move(plan));
    kept->sounds.clear();
    for (const QString& path : std::as_const(kept->soundPaths)) {
        DecodeResult decoded = cache_.Get(path);
        kept->sounds.push_back(decoded.buffer);
    }
    // A sound that cannot be read is left out: its strokes stay silent.
    for (SequencePlan::Step& step : kept->steps) {
        std::erase_if(step.strokes, [&](const SequencePlan::Stroke& stroke) {
            return stroke.sound < 0 || stroke.sound >= static_cast<int>(kept->sounds.size()) ||
                   !kept->sounds[static_cast<std::size_t>(stroke.sound)];
        });
    }
    const std::uint64_t serial = nextPlanSerial_++;
    plans_.emplace_back(serial, std::move(kept));
    return serial;
}

bool AudioEngine::LoadSequence(SequencePlan plan) {
    const std::uint64_t serial = KeepPlan(std::move(plan));
    return serial != 0 && sequencer_.Load(plans_.back().second.get(), serial);
}

bool AudioEngine::QueueNextSequence(SequencePlan plan, bool holdOn) {
    const std::uint64_t serial = KeepPlan(std::move(plan));
    return serial != 0 && sequencer_.QueueNext(plans_.back().second.get(), serial, holdOn);
}

bool AudioEngine::ReplaceSequence(SequencePlan plan) {
    const std::uint64_t serial = KeepPlan(std::move(plan));
    return serial != 0 && sequencer_.Replace(plans_.back().second.get(), serial);
}

int AudioEngine::KeepInstrumentSound(const QString& path) {
    if (!hasDevice_) {
        return -1;
    }
    DecodeResult decoded = cache_.Get(path);
    if (decoded.error != DecodeError::kNone) {
        return -1;
    }
    return instrument_->KeepSound(std::move(decoded.buffer), path);
}

bool AudioEngine::InstrumentStrike(int sound, float gain) {
    return hasDevice_ && instrument_->Strike(sound, gain);
}

bool AudioEngine::IsVoiceOpen(VoiceId voice) const {
    return Valid(voice);
}

bool AudioEngine::IsVoicePlaying(VoiceId voice) const {
    if (!Valid(voice) || !slots_[voice].played) {
        return false;
    }
    const std::uint64_t state = mixer_->VoiceState(voice);
    if (state / 2 < slots_[voice].lastPlaySerial) {
        return true;  // the audio thread has not taken the play command yet
    }
    return (state & 1u) != 0;
}

std::optional<std::int64_t> AudioEngine::VoiceStartFrame(VoiceId voice) const {
    if (!Valid(voice) || !slots_[voice].played) {
        return std::nullopt;
    }
    if (mixer_->VoiceState(voice) / 2 < slots_[voice].lastPlaySerial) {
        return std::nullopt;
    }
    const std::int64_t frame = mixer_->VoiceStartedAt(voice);
    if (frame < 0) {
        return std::nullopt;
    }
    return frame;
}

QString AudioEngine::VoicePath(VoiceId voice) const {
    return Valid(voice) ? slots_[voice].path : QString();
}

std::int64_t AudioEngine::FrameAt(std::chrono::steady_clock::time_point time) const {
    return clock_.FrameAt(time).value_or(FramesRendered());
}

void AudioEngine::SetStartLog(bool on) {
    startLog_ = on;
    if (!on) {
        playPaths_.clear();
        starts_.clear();
    }
}

void AudioEngine::DrainStarts() {
    VoiceStartEvent event;
    while (mixer_->Starts().Pop(event)) {
        if (!startLog_) {
            continue;
        }
        if ((event.serial & StepSequencer::kStrokeTag) != 0) {
            // A stroke of the sequencer: its plan and sound index name the path.
            const std::uint64_t planSerial = (event.serial & ~StepSequencer::kStrokeTag) >> 16;
            const auto sound = static_cast<qsizetype>(event.serial & 0xFFFF);
            for (const auto& [serial, plan] : plans_) {
                if (serial == planSerial && sound < plan->soundPaths.size()) {
                    starts_.push_back({plan->soundPaths.at(sound), event.frame, event.voice});
                }
            }
            continue;
        }
        if (instrument_->Owns(event.voice)) {
            const QString path = instrument_->PathOfStart(event.voice, event.serial);
            if (!path.isEmpty()) {
                starts_.push_back({path, event.frame, event.voice});
            }
            continue;
        }
        const auto it = playPaths_.find(event.serial);
        if (it == playPaths_.end()) {
            continue;
        }
        starts_.push_back({it->second, event.frame, event.voice});
        playPaths_.erase(it);
    }
}

std::vector<VoiceStart> AudioEngine::TakeVoiceStarts() {
    DrainStarts();
    std::vector<VoiceStart> taken;
    taken.swap(starts_);
    return taken;
}

bool AudioEngine::ReadVolumeWord(quint32& word) const {
    if (!hasDevice_) {
        return false;
    }
    word = mixer_->VolumeWord();
    return true;
}

void AudioEngine::WriteVolumeWord(quint32 word) {
    if (hasDevice_) {
        mixer_->SetVolumeWord(word);
    }
}

}  // namespace orvane
