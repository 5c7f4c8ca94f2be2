#include "sound/core/SampleCache.h"

#include <QFile>
#include <algorithm>
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
        std::unique_lock lock(mutex_);
        Entry* entry = FreshEntry(path, stamp);
        if (!stamp.ok) {
            return {nullptr, DecodeError::kNotFound};
        }
        if (entry != nullptr) {
            entry->lastUse = ++useClock_;
            std::shared_ptr<const SampleBuffer> buffer = entry->buffer;
            if (pendingHeads_.contains(buffer.get())) {
                AwaitHead(buffer.get(), lock);
                if (buffer->Complete() && buffer->Frames() == 0) {
                    return {nullptr, DecodeError::kCannotDecode};  // its entry is gone
                }
            }
            return {std::move(buffer), DecodeError::kNone};
        }
    }
    return DecodeAndStore(path, stamp);
}

DecodeResult SampleCache::Request(const QString& path) {
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
    std::unique_ptr<SampleDecode> decode;
    DecodeResult result = OpenSampleFile(path, sampleRate_, &decode);
    if (result.error != DecodeError::kNone) {
        return result;
    }
    if (!decode) {
        return DecodeAndStore(path, stamp);
    }
    const std::lock_guard lock(mutex_);
    if (Entry* entry = FreshEntry(path, stamp)) {
        // The background thread stored the same version meanwhile; the unused decode only
        // closes its file here.
        entry->lastUse = ++useClock_;
        return {entry->buffer, DecodeError::kNone};
    }
    ++decodes_;
    entries_[path] = Entry{result.buffer, stamp.modified, stamp.size, ++useClock_};
    bytes_ += result.buffer->Bytes();
    pendingHeads_.insert(result.buffer.get());
    ++decoding_[result.buffer.get()];
    urgentHeads_.push_back(std::move(decode));
    wake_.notify_all();
    Trim();
    return result;
}

void SampleCache::AwaitHead(const SampleBuffer* buffer, std::unique_lock<std::mutex>& lock) {
    const auto queued = std::find_if(urgentHeads_.begin(), urgentHeads_.end(),
                                     [buffer](const auto& d) { return d->Buffer().get() == buffer; });
    if (queued != urgentHeads_.end()) {
        std::unique_ptr<SampleDecode> decode = std::move(*queued);
        urgentHeads_.erase(queued);
        DecodeHead(std::move(decode), lock, urgentRests_);
        wake_.notify_all();
        return;
    }
    headDone_.wait(lock, [&] { return !pendingHeads_.contains(buffer); });
}

void SampleCache::DecodeHead(std::unique_ptr<SampleDecode> decode,
                             std::unique_lock<std::mutex>& lock,
                             std::deque<std::unique_ptr<SampleDecode>>& rests) {
    const SampleBuffer* buffer = decode->Buffer().get();
    if (std::this_thread::get_id() != thread_.get_id()) {
        ++callerDecodes_;
    }
    lock.unlock();
    decode->Head(kHeadSeconds);
    lock.lock();
    pendingHeads_.erase(buffer);
    headDone_.notify_all();
    if (decode->Failed() || buffer->Complete()) {
        Released(decode.get());
        decode.reset();  // the caller's thread or the background thread: both may free
        return;
    }
    rests.push_back(std::move(decode));
}

void SampleCache::Released(const SampleDecode* decode) {
    const SampleBuffer* buffer = decode->Buffer().get();
    if (--decoding_[buffer] <= 0) {
        decoding_.erase(buffer);
    }
    if (!decode->Failed()) {
        return;
    }
    // Nothing of the file could be read: the next request opens it again.
    const auto stale = std::find_if(entries_.begin(), entries_.end(), [buffer](const auto& e) {
        return e.second.buffer.get() == buffer;
    });
    if (stale != entries_.end()) {
        bytes_ -= stale->second.buffer->Bytes();
        entries_.erase(stale);
    }
}

DecodeResult SampleCache::DecodeAndStore(const QString& path, const Stamp& stamp) {
    std::unique_ptr<SampleDecode> rest;
    DecodeResult result = DecodeSampleHead(path, sampleRate_, kHeadSeconds, &rest);
    const std::lock_guard lock(mutex_);
    ++decodes_;
    if (std::this_thread::get_id() != thread_.get_id()) {
        ++callerDecodes_;
    }
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

bool SampleCache::HasWork() const {
    return !urgentHeads_.empty() || !urgentRests_.empty() || !heads_.empty() || !rests_.empty();
}

void SampleCache::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !HasWork() && !working_; });
}

void SampleCache::FinishRest(std::deque<std::unique_ptr<SampleDecode>>& rests,
                             std::unique_lock<std::mutex>& lock) {
    std::unique_ptr<SampleDecode> rest = std::move(rests.front());
    rests.pop_front();
    lock.unlock();
    rest->Finish();
    lock.lock();
    Released(rest.get());
    rest.reset();  // may free a sound dropped meanwhile; this thread may free
    Trim();
}

void SampleCache::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || HasWork(); });
        if (stop_) {
            return;
        }
        working_ = true;
        if (!urgentHeads_.empty()) {
            std::unique_ptr<SampleDecode> decode = std::move(urgentHeads_.front());
            urgentHeads_.pop_front();
            DecodeHead(std::move(decode), lock, urgentRests_);
        } else if (!urgentRests_.empty()) {
            FinishRest(urgentRests_, lock);
        } else if (!heads_.empty()) {
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
            FinishRest(rests_, lock);
        }
        working_ = false;
        if (!HasWork()) {
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

int SampleCache::CallerDecodeCount() const {
    const std::lock_guard lock(mutex_);
    return callerDecodes_;
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
