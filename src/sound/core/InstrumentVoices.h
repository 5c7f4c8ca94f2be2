#pragma once

#include <QString>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/core/Mixer.h"
#include "sound/core/SampleBuffer.h"

namespace orvane {

// The voices an instrument (MIDI input) strikes straight from its own input thread, without a
// hop through the user-interface thread: a bank of kVoiceCount mixer voices that the engine's
// own voice calls never use, and a table of sounds that the UI thread prepares for it.
//
// A stroke starts its sound at the start of the next audio buffer on a silent voice of the bank,
// or, when all of them still sound, on the one struck longest ago (which is cut off). Bank voices
// are never stopped: each plays its sound to the end.
//
// Threads: KeepSound, PathOfSound and PathOfStart run on the UI thread; Strike runs on any
// thread, several at once, and never locks, allocates or frees. Kept sounds live as long as this
// object, which the engine destroys only after its output has stopped, so no sound a voice
// still reads is ever freed.
class InstrumentVoices {
  public:
    static constexpr int kVoiceCount = 64;
    static constexpr int kSoundCount = 64;

    // The bank is mixer voices firstVoice .. firstVoice + kVoiceCount - 1 of `mixer`. A stroke
    // leaves more than `reserve` places of the command ring free for the engine's other
    // commands.
    InstrumentVoices(Mixer& mixer, int firstVoice, std::size_t reserve);
    InstrumentVoices(const InstrumentVoices&) = delete;
    InstrumentVoices& operator=(const InstrumentVoices&) = delete;

    // UI thread. Keeps `buffer` (the decoded sound of `path`) for strokes and returns its number,
    // the same number for the same buffer; -1 for no buffer or when the table is full.
    int KeepSound(std::shared_ptr<const SampleBuffer> buffer, const QString& path);
    // UI thread: the path a kept sound was decoded from; empty for an unknown number.
    QString PathOfSound(int sound) const;

    // Any thread. Starts kept sound `sound` at the start of the next buffer at a linear gain
    // (clamped to 0 to 1). False, and nothing sounds, for an unknown sound or a full ring.
    bool Strike(int sound, float gain);

    // True for a mixer voice of the bank.
    bool Owns(int voice) const { return voice >= firstVoice_ && voice < firstVoice_ + kVoiceCount; }
    // UI thread: the path of the sound that the bank's play command `serial` started on mixer
    // voice `voice`; empty when the voice has been struck again since (start log).
    QString PathOfStart(int voice, std::uint64_t serial) const;
    // Any thread: strokes sent so far.
    std::uint64_t StrokeCount() const { return strokes_.load(std::memory_order_relaxed); }

  private:
    // A bank voice's last stroke: serial << 16 | sound, or kClaimed while a thread sends one.
    static constexpr std::uint64_t kClaimed = ~std::uint64_t{0};

    // True when the voice's last stroke has been applied and has ended (or it never sounded).
    bool Silent(int slot, std::uint64_t stroke) const;
    // Claims a bank voice for a stroke; its index, and its previous stroke in `previous`.
    int Claim(std::uint64_t ticket, std::uint64_t& previous);

    Mixer& mixer_;
    const int firstVoice_;
    const std::size_t reserve_;
    std::array<std::atomic<std::uint64_t>, kVoiceCount> last_{};
    std::array<std::atomic<std::uint64_t>, kVoiceCount> tickets_{};
    std::atomic<std::uint64_t> nextTicket_{0};
    std::atomic<std::uint64_t> strokes_{0};
    std::array<std::atomic<const SampleBuffer*>, kSoundCount> sounds_{};
    // UI thread: the owners of the kept sounds and their paths, by number.
    std::vector<std::shared_ptr<const SampleBuffer>> kept_;
    std::vector<QString> paths_;
};

}  // namespace orvane
