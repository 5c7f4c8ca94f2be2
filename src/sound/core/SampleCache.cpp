#include "sound/core/SampleCache.h"

#include <QFile>
#include <system_error>

namespace orvane {

SampleCache::SampleCache(int sampleRate, std::int64_t budgetBytes)
    : sampleRate_(sampleRate), budgetBytes_(budgetBytes), thread_([this] { Run(); }) {}

SampleCache::~SampleCache() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        heads_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

SampleCache::Stamp SampleCache::StampOf(const QString& path) {
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    Stamp stamp;
    std::error_code error;
    stamp.modified = std::filesystem::last_write_time(native, error);
    if (!error) {
        stamp.size = std::filesystem::file_size(native, error);
    }
    stamp.ok = !error;
    return stamp;
}

SampleCache::Entry* SampleCache::FreshEntry(const QString& path, const Stamp& stamp) {
    const auto it = entries_.find(path);
    if (it == entries_.end()) {
        return nullptr;
    }
    if (stamp.ok && it->second.modified == stamp.modified && it->second.size == stamp.size) {
        return &it->second;
    }
    bytes_ -= it->second.buffer->Bytes();
    entries_.erase(it);
    return nullptr;
}

DecodeResult SampleCache::Get(const QString& path) {
    const Stamp stamp = StampOf(path);
    {
        const std::lock_guard lock(mutex_);
        Entry* entry = FreshEntry(path, stamp);
        if (!stamp.ok) {
            return {nullptr, DecodeError::kNotFound};
        }
        if (entry != nullptr) {
            entry->lastUse = ++useClock_;
            return {entry->buffer, DecodeError::kNone};
        }
    }
    return DecodeAndStore(path, stamp);
}

DecodeResult SampleCache::DecodeAndStore(const QString& path, const Stamp& stamp) {
    std::unique_ptr<SampleDecode> rest;
    DecodeResult result = DecodeSampleHead(path, sampleRate_, kHeadSeconds, &rest);
    const std::lock_guard lock(mutex_);
    ++decodes_;
    if (result.error != DecodeError::kNone) {
        return result;
    }
    if (Entry* entry = FreshEntry(path, stamp)) {
        // The other thread stored the same version meanwhile: one sound per version.
        entry->lastUse = ++useClock_;
        return {entry->buffer, DecodeError::kNone};
    }
    entries_[path] = Entry{result.buffer, stamp.modified, stamp.size, ++useClock_};
    bytes_ += result.buffer->Bytes();
    if (rest) {
        ++decoding_[rest->Buffer().get()];
        rests_.push_back(std::move(rest));
        wake_.notify_all();
    }
    Trim();
    return result;
}

void SampleCache::Preload(const QStringList& paths) {
    {
        const std::lock_guard lock(mutex_);
        for (auto it = paths.crbegin(); it != paths.crend(); ++it) {
            heads_.push_front(*it);
        }
    }
    wake_.notify_all();
}

void SampleCache::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return heads_.empty() && rests_.empty() && !working_; });
}

void SampleCache::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !heads_.empty() || !rests_.empty(); });
        if (stop_) {
            return;
        }
        working_ = true;
        if (!heads_.empty()) {
            const QString path = heads_.front();
            heads_.pop_front();
            lock.unlock();
            const Stamp stamp = StampOf(path);
            bool cached = !stamp.ok;
            if (!cached) {
                const std::lock_guard check(mutex_);
                cached = FreshEntry(path, stamp) != nullptr;
            }
            if (!cached) {
                DecodeAndStore(path, stamp);
            }
            lock.lock();
        } else {
            std::unique_ptr<SampleDecode> rest = std::move(rests_.front());
            rests_.pop_front();
            lock.unlock();
            rest->Finish();
            const SampleBuffer* finished = rest->Buffer().get();
            lock.lock();
            if (--decoding_[finished] <= 0) {
                decoding_.erase(finished);
            }
            rest.reset();  // may free a sound dropped meanwhile; this thread may free
            Trim();
        }
        working_ = false;
        if (heads_.empty() && rests_.empty()) {
            idle_.notify_all();
        }
    }
}

void SampleCache::Clear() {
    const std::lock_guard lock(mutex_);
    entries_.clear();
    bytes_ = 0;
}

int SampleCache::EntryCount() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

std::int64_t SampleCache::DecodedBytes() const {
    const std::lock_guard lock(mutex_);
    return bytes_;
}

int SampleCache::DecodeCount() const {
    const std::lock_guard lock(mutex_);
    return decodes_;
}

void SampleCache::Trim() {
    while (bytes_ > budgetBytes_) {
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            // Only this cache holds the sound (the caller's copy of the newest entry counts too;
            // a decoder finishing it does not).
            const auto decoder = decoding_.find(it->second.buffer.get());
            const long users =
                it->second.buffer.use_count() - (decoder != decoding_.end() ? decoder->second : 0);
            if (users == 1 &&
                (oldest == entries_.end() || it->second.lastUse < oldest->second.lastUse)) {
                oldest = it;
            }
        }
        if (oldest == entries_.end()) {
            return;
        }
        bytes_ -= oldest->second.buffer->Bytes();
        entries_.erase(oldest);
    }
}

}  // namespace orvane
