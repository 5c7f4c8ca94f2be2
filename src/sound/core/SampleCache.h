#pragma once

#include <QHashFunctions>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include "sound/core/SampleBuffer.h"

namespace orvane {

// Decoded sounds by file path. An entry is valid while the file keeps its modification time and
// size; a changed file is decoded again on the next request (voices that still play the old
// sound keep their own reference to it). Entries that nobody else references are dropped, least
// recently used first, when the decoded total exceeds the budget.
// UI thread only: every reference it hands out must be released on a thread that may free
// memory.
class SampleCache {
  public:
    explicit SampleCache(int sampleRate, std::int64_t budgetBytes = kDefaultBudgetBytes);

    static constexpr std::int64_t kDefaultBudgetBytes = std::int64_t{512} << 20;

    int SampleRate() const { return sampleRate_; }

    // The decoded sound of `path`, decoding it when it is not cached or the file has changed.
    DecodeResult Get(const QString& path);

    // Forgets every entry (sounds that voices still hold stay alive through those voices).
    void Clear();

    int EntryCount() const { return static_cast<int>(entries_.size()); }
    std::int64_t DecodedBytes() const { return bytes_; }
    // The number of decodes made so far.
    int DecodeCount() const { return decodes_; }

  private:
    struct Entry {
        std::shared_ptr<const SampleBuffer> buffer;
        std::filesystem::file_time_type modified;
        std::uintmax_t size = 0;
        std::uint64_t lastUse = 0;
    };

    void Trim();
    static std::int64_t BytesOf(const SampleBuffer& buffer);

    int sampleRate_;
    std::int64_t budgetBytes_;
    std::int64_t bytes_ = 0;
    std::uint64_t useClock_ = 0;
    int decodes_ = 0;
    struct PathHash {
        std::size_t operator()(const QString& path) const noexcept { return qHash(path); }
    };

    std::unordered_map<QString, Entry, PathHash> entries_;
};

}  // namespace orvane
