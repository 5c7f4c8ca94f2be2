#include "chime/core/ShortTextPool.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvane {

struct ShortTextPool::Table {
    static constexpr std::size_t kSlotCount = 2 * kMaxEntries;  // a power of two

    struct Slot {
        const QChar* text = nullptr;  // null: free
        std::uint64_t hash = 0;
        qsizetype length = 0;
    };

    std::recursive_mutex mutex;  // a pool may be opened while the thread holds one
    std::vector<Slot> table = std::vector<Slot>(kSlotCount);
    // The shared copies, in blocks that are never moved or freed.
    std::vector<std::unique_ptr<QChar[]>> blocks;
    qsizetype blockUsed = 0;
    int entries = 0;

    static constexpr qsizetype kBlockSize = 4096;

    const QChar* Store(const QChar* text, qsizetype length) {
        const qsizetype need = length + 1;  // and a terminating zero
        if (blocks.empty() || blockUsed + need > kBlockSize) {
            blocks.push_back(std::make_unique<QChar[]>(kBlockSize));
            blockUsed = 0;
        }
        QChar* copy = blocks.back().get() + blockUsed;
        std::copy_n(text, length, copy);
        copy[length] = QChar();
        blockUsed += need;
        return copy;
    }
};

ShortTextPool::ShortTextPool() : table_(TheTable()), lock_(table_.mutex) {}

ShortTextPool::~ShortTextPool() = default;

QString ShortTextPool::Get(const QChar* text, qsizetype length) {
    if (length > kMaxLength) {
        return QString(text, length);
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (qsizetype i = 0; i < length; ++i) {
        hash = (hash ^ text[i].unicode()) * 1099511628211ull;
    }
    constexpr std::size_t kMask = Table::kSlotCount - 1;
    for (std::size_t i = hash & kMask;; i = (i + 1) & kMask) {
        Table::Slot& slot = table_.table[i];
        if (slot.text == nullptr) {
            if (table_.entries == kMaxEntries) {
                return QString(text, length);
            }
            ++table_.entries;
            slot = {table_.Store(text, length), hash, length};
            return QString::fromRawData(slot.text, length);
        }
        if (slot.hash == hash && slot.length == length && std::equal(text, text + length, slot.text)) {
            return QString::fromRawData(slot.text, length);
        }
    }
}

ShortTextPool::Table& ShortTextPool::TheTable() {
    static Table* const table = new Table;
    return *table;
}

}  // namespace orvane
