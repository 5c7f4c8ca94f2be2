#pragma once

#include <QChar>
#include <QString>

#include <mutex>

namespace orvane {

// One shared copy of each short text, for the lines of chime scores: scores repeat the same
// few step lines and group lines over and over ("s1", "b1,b2", "#"). A string over the shared
// copy needs no allocation, and copying or dropping it touches no reference count. The copies
// are kept until the program ends; at most kMaxEntries texts are kept in all, so a score of
// many different lines cannot make the pool grow without bound. Texts longer than kMaxLength,
// and new texts once the pool is full, get strings of their own.
//
// A pool object holds the process-wide pool for its lifetime (one lock for a whole load), so
// it may be used on any thread; the strings it gives stay valid on every thread.
class ShortTextPool {
  public:
    static constexpr qsizetype kMaxLength = 16;
    static constexpr int kMaxEntries = 4096;

    ShortTextPool();
    ~ShortTextPool();
    ShortTextPool(const ShortTextPool&) = delete;
    ShortTextPool& operator=(const ShortTextPool&) = delete;

    // The text of length characters at text (not null, also for length 0).
    QString Get(const QChar* text, qsizetype length);

  private:
    struct Table;
    // The pool of the process. Never destroyed: strings over its copies may outlive every other
    // object, static ones included.
    static Table& TheTable();

    Table& table_;
    std::unique_lock<std::recursive_mutex> lock_;
};

}  // namespace orvane
