#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "sound/core/SampleBuffer.h"

namespace orvane {

// Decoded sounds by file path, decoded ahead by a background thread. An entry is valid while the
// file keeps its modification time and size; a changed file is decoded again on the next request
// (voices that still play the old sound keep their own reference to it). Entries that nobody
// else references are dropped, least recently used first, when the decoded total exceeds the
// budget.
//
// A sound is handed out as soon as its head (the first kHeadSeconds) is decoded; the rest is
// decoded by the background thread and published into the same buffer (SampleBuffer's ready
// count), so a voice can start at once and play on into the rest. Request hands a sound out
// before even its head is decoded: a voice started on it waits for its first frame.
//
// Threads: the public members are called from one owner thread (the UI thread), WaitIdle from
// the thread that renders offline too; the background thread shares the entries under a mutex.
// The audio thread never calls in. References handed out must be released on a thread that may
// free memory.
class SampleCache {
  public:
    explicit SampleCache(int sampleRate, std::int64_t budgetBytes = kDefaultBudgetBytes);
    // Stops the background thread; unfinished sounds stay as far as they got.
    ~SampleCache();
    SampleCache(const SampleCache&) = delete;
    SampleCache& operator=(const SampleCache&) = delete;

    static constexpr std::int64_t kDefaultBudgetBytes = std::int64_t{512} << 20;
    // Decoded first: by Get on the caller's thread before a sound is handed out, for Request by
    // the background thread before any other work. A fraction of a second keeps the background
    // decode of the rest ahead of any voice.
    static constexpr double kHeadSeconds = 0.25;

    int SampleRate() const { return sampleRate_; }

    // The sound of `path` with at least its head decoded: the cached one, else its head decoded
    // now and the rest queued for the background thread. Waits for the background thread only
    // when it is decoding the head of a sound handed out by Request.
    DecodeResult Get(const QString& path);

    // The sound of `path` without decoding on the caller's thread: the cached one (its head may
    // still be decoding), else a sound of the file's full length with nothing decoded yet,
    // whose head the background thread decodes before any other work and whose rest follows.
    // Only the file's status and header are read here, so a missing file or one that is not a
    // sound is reported at once. Samples that turn out unreadable later leave the sound empty
    // (a voice on it stays silent and ends) and drop its entry, so the next request tries
    // again. Sounds of compressed files, whose length only their decode tells, are decoded as
    // Get decodes them.
    DecodeResult Request(const QString& path);

    // Queues `paths` for the background thread, ahead of earlier requests: first the heads of
    // all of them, then their rests. Paths already cached are skipped; missing files are left
    // to Get, which reports them.
    void Preload(const QStringList& paths);
    // Blocks until the background thread has nothing left to do (offline rendering, tests and
    // measurements).
    void WaitIdle();

    // Forgets every entry (sounds that voices still hold stay alive through those voices).
    void Clear();

    int EntryCount() const;
    std::int64_t DecodedBytes() const;
    // The number of decodes started so far (on either thread; a Request's counts when queued).
    int DecodeCount() const;
    // The heads decoded on a thread other than the background thread (Get's callers).
    int CallerDecodeCount() const;

  private:
    struct Entry {
        std::shared_ptr<const SampleBuffer> buffer;
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        std::uint64_t lastUse = 0;
    };
    struct Stamp {
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        bool ok = false;
    };
    struct PathHash {
        std::size_t operator()(const QString& path) const noexcept { return qHash(path); }
    };

    static Stamp StampOf(const QString& path);
    // Under mutex_: the fresh entry of path, or null (a stale entry is dropped).
    Entry* FreshEntry(const QString& path, const Stamp& stamp);
    // Decodes the head of path and stores it; the rest goes to the background queue.
    DecodeResult DecodeAndStore(const QString& path, const Stamp& stamp);
    // Under the lock `lock` holds: waits until the head of `buffer` (a Request's sound) is
    // decoded, decoding it on this thread when the background thread has not started it.
    void AwaitHead(const SampleBuffer* buffer, std::unique_lock<std::mutex>& lock);
    // Decodes the head of a Request's sound (the lock released meanwhile) and queues its rest
    // on `rests` or, when the file's samples cannot be read, drops its entry.
    void DecodeHead(std::unique_ptr<SampleDecode> decode, std::unique_lock<std::mutex>& lock,
                    std::deque<std::unique_ptr<SampleDecode>>& rests);
    // Under mutex_: `decode` is done with its sound (a sound it could not read loses its entry).
    void Released(const SampleDecode* decode);
    // Under the lock `lock` holds: finishes the first decode of `rests` (the lock released
    // meanwhile).
    void FinishRest(std::deque<std::unique_ptr<SampleDecode>>& rests,
                    std::unique_lock<std::mutex>& lock);
    bool HasWork() const;
    void Trim();
    void Run();

    const int sampleRate_;
    const std::int64_t budgetBytes_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::int64_t bytes_ = 0;
    std::uint64_t useClock_ = 0;
    int decodes_ = 0;
    int callerDecodes_ = 0;
    std::unordered_map<QString, Entry, PathHash> entries_;
    // Work of the background thread, in this order: the heads of Request's sounds, their rests,
    // the heads of preloaded paths, the rests of those.
    std::deque<std::unique_ptr<SampleDecode>> urgentHeads_;
    std::deque<std::unique_ptr<SampleDecode>> urgentRests_;
    std::deque<QString> heads_;
    std::deque<std::unique_ptr<SampleDecode>> rests_;
    // Request's sounds whose head is not decoded yet (queued or being decoded).
    std::unordered_set<const SampleBuffer*> pendingHeads_;
    std::condition_variable headDone_;
    // Sounds whose rest is queued or being decoded: the decoder's reference does not count as
    // a use when the budget is enforced.
    std::unordered_map<const SampleBuffer*, int> decoding_;
    bool working_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace orvane
