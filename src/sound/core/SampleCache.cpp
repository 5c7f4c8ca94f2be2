#include "sound/core/SampleCache.h"

#include <QFile>
#include <system_error>

namespace orvane {

SampleCache::SampleCache(int sampleRate, std::int64_t budgetBytes)
    : sampleRate_(sampleRate), budgetBytes_(budgetBytes) {}

std::int64_t SampleCache::BytesOf(const SampleBuffer& buffer) {
    return static_cast<std::int64_t>(buffer.samples.size() * sizeof(float));
}

DecodeResult SampleCache::Get(const QString& path) {
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(native, error);
    const std::uintmax_t size = error ? 0 : std::filesystem::file_size(native, error);
    if (error) {
        if (const auto it = entries_.find(path); it != entries_.end()) {
            bytes_ -= BytesOf(*it->second.buffer);
            entries_.erase(it);
        }
        return {nullptr, DecodeError::kNotFound};
    }

    if (const auto it = entries_.find(path); it != entries_.end()) {
        Entry& entry = it->second;
        if (entry.modified == modified && entry.size == size) {
            entry.lastUse = ++useClock_;
            return {entry.buffer, DecodeError::kNone};
        }
        bytes_ -= BytesOf(*entry.buffer);
        entries_.erase(it);
    }

    DecodeResult result = DecodeSampleFile(path, sampleRate_);
    ++decodes_;
    if (result.error != DecodeError::kNone) {
        return result;
    }
    entries_[path] = Entry{result.buffer, modified, size, ++useClock_};
    bytes_ += BytesOf(*result.buffer);
    Trim();
    return result;
}

void SampleCache::Clear() {
    entries_.clear();
    bytes_ = 0;
}

void SampleCache::Trim() {
    while (bytes_ > budgetBytes_) {
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            // Only this cache holds the sound (the caller's copy of the newest entry counts too).
            if (it->second.buffer.use_count() == 1 &&
                (oldest == entries_.end() || it->second.lastUse < oldest->second.lastUse)) {
                oldest = it;
            }
        }
        if (oldest == entries_.end()) {
            return;
        }
        bytes_ -= BytesOf(*oldest->second.buffer);
        entries_.erase(oldest);
    }
}

}  // namespace orvane
