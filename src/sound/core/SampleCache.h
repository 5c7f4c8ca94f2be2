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
// count), so a voice can start at once and play on into the rest.
//
// Threads: the public members are called from one owner thread (the UI thread); the background
// thread shares the entries under a mutex. The audio thread never calls in. References handed
// out must be released on a thread that may free memory.
class SampleCache {
  public:
    explicit SampleCache(int sampleRate, std::int64_t budgetBytes = kDefaultBudgetBytes);
    // Stops the background thread; unfinished sounds stay as far as they got.
    ~SampleCache();
    SampleCache(const SampleCache&) = delete;
    SampleCache& operator=(const SampleCache&) = delete;

    static constexpr std::int64_t kDefaultBudgetBytes = std::int64_t{512} << 20;
    // Decoded on the caller's thread before a sound is handed out; a fraction of a second keeps
    // the background decode of the rest ahead of any voice.
    static constexpr double kHeadSeconds = 0.25;

    int SampleRate() const { return sampleRate_; }

    // The sound of `path`: the cached one, else its head decoded now and the rest queued for
    // the background thread. Never waits for the background thread's current work.
    DecodeResult Get(const QString& path);

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
    // The number of decodes started so far (on either thread).
    int DecodeCount() const;

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
    std::unordered_map<QString, Entry, PathHash> entries_;
    std::deque<QString> heads_;
    std::deque<std::unique_ptr<SampleDecode>> rests_;
    // Sounds whose rest is queued or being decoded: the decoder's reference does not count as
    // a use when the budget is enforced.
    std::unordered_map<const SampleBuffer*, int> decoding_;
    bool working_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace orvane
