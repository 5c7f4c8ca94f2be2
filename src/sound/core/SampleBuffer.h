#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvane {

// A decoded sound at the rate of the output device: interleaved samples of one or two channels
// (a mono sound is played on both output channels). Sounds whose file holds 8 or 16-bit integer
// samples are kept as 16-bit integers (full scale 32768), every other sound as floats (nominally
// -1 to 1).
//
// A sound may be published before it is fully decoded: its storage has the full length from the
// start, and ReadyFrames() tells how many frames from the beginning hold their final value. The
// decoding thread writes frames past ReadyFrames() only and then publishes the new count
// (release); readers on any thread read only frames below the count they loaded (acquire). The
// storage is never reallocated once made. Shared between the cache, the decoder and the voices.
class SampleBuffer {
  public:
    SampleBuffer() = default;
    // Storage for `frames` frames, none of them ready yet.
    SampleBuffer(int channelCount, int rate, std::int64_t frames, bool pcm16);
    SampleBuffer(const SampleBuffer&) = delete;
    SampleBuffer& operator=(const SampleBuffer&) = delete;

    int channels = 1;
    int sampleRate = 0;

    // The length once fully decoded.
    std::int64_t Frames() const { return frames_.load(std::memory_order_acquire); }
    // Any thread: frames from the start that are decoded.
    std::int64_t ReadyFrames() const { return ready_.load(std::memory_order_acquire); }
    bool Complete() const { return ReadyFrames() >= Frames(); }
    bool IsPcm16() const { return pcm16_; }
    // The samples (one of the two is null).
    const std::int16_t* Pcm16() const { return pcm_.get(); }
    const float* Floats() const { return float_.get(); }
    // The largest absolute sample value (full scale 1), valid once Complete(); 1 before.
    float Peak() const { return Complete() ? peak_ : 1.0f; }

    // One sample as a float (full scale 1); frame below ReadyFrames().
    float At(std::int64_t frame, int channel) const;
    // The ready samples as interleaved floats (full scale 1), for checks and export.
    std::vector<float> ToFloats() const;

    // Decoding thread only. Writable storage, the peak, and the publication of ready frames
    // (never decreasing, at most Frames()).
    std::int16_t* WritablePcm16() { return pcm_.get(); }
    float* WritableFloats() { return float_.get(); }
    void SetPeak(float peak) { peak_ = peak; }
    void Publish(std::int64_t readyFrames) { ready_.store(readyFrames, std::memory_order_release); }
    // Shortens a sound whose file claimed more frames than it held; before Publish of the end.
    void Truncate(std::int64_t frames);

    // Bytes of sample storage.
    std::int64_t Bytes() const;

  private:
    std::atomic<std::int64_t> frames_{0};
    bool pcm16_ = false;
    float peak_ = 1.0f;
    // Left uninitialised when made: the decoder writes every frame before publishing it, so the
    // pages are touched by the decoding thread, not by whoever asked for the sound.
    std::unique_ptr<std::int16_t[]> pcm_;
    std::unique_ptr<float[]> float_;
    std::size_t size_ = 0;  // samples of storage
    std::atomic<std::int64_t> ready_{0};
};

enum class DecodeError { kNone, kNotFound, kCannotDecode };

struct DecodeResult {
    std::shared_ptr<const SampleBuffer> buffer;  // null unless error is kNone
    DecodeError error = DecodeError::kNone;
};

class SampleDecode;

// Reads a whole sound file (any format the system's sound file library reads: WAV with 8, 16,
// 24 or 32-bit integer or float samples, MP3, ...) and converts it to `sampleRate`. Sounds of
// more than two channels keep their first two. Runs on the calling thread and may take tens of
// milliseconds for a long sound; never call it on the audio thread.
DecodeResult DecodeSampleFile(const QString& path, int sampleRate);

// Decodes the first `headSeconds` of a sound file at once and returns the sound with that head
// published; `rest`, when given, receives the decode that finishes the sound (on any thread, see
// SampleDecode::Finish). Without `rest` the whole sound is decoded before returning. Sounds whose
// length the file cannot tell exactly (compressed formats) are always decoded whole.
DecodeResult DecodeSampleHead(const QString& path, int sampleRate, double headSeconds,
                              std::unique_ptr<SampleDecode>* rest);

// Opens a sound file and makes its sound, of its full length and with nothing decoded yet,
// without decoding any of it: only the file's header is read. `decode` receives the decode that
// fills the sound (SampleDecode::Head, then Finish, on any one thread at a time). A sound whose
// length the file cannot tell exactly (compressed formats) cannot be made ahead of its decode:
// the result then has no buffer and no error, and `decode` stays empty (use DecodeSampleHead).
DecodeResult OpenSampleFile(const QString& path, int sampleRate,
                            std::unique_ptr<SampleDecode>* decode);

// The unfinished part of a sound being decoded: owns the open file and a reference to the sound.
class SampleDecode {
  public:
    virtual ~SampleDecode() = default;
    // Decodes and publishes the first `headSeconds` of a sound that has nothing decoded yet
    // (OpenSampleFile); nothing otherwise. Not the audio thread.
    virtual void Head(double headSeconds) = 0;
    // True once the sound has ended with no frame at all although the file claimed some: the
    // file's samples could not be read.
    virtual bool Failed() const = 0;
    // Decodes the rest of the sound and publishes it. Runs on one thread at a time (not the
    // audio thread). A read error leaves the sound shortened to what was read.
    virtual void Finish() = 0;
    virtual const std::shared_ptr<SampleBuffer>& Buffer() const = 0;
};

}  // namespace orvane
