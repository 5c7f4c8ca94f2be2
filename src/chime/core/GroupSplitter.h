#pragma once

#include "chime/core/ShortTextPool.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace orvane {

// Writes the group texts of chime score steps into the three group step lists, one step after
// the other, as SplitByGroup describes: each step's text goes over the string the list held at
// that index, so the lists' storage is passed once, front to back, and a long score reloaded
// into the same lists needs no fresh memory. Equal short lines (one shared copy, as the loader
// makes them) are split once. Runs on one thread; holds the short-text pool while it lives.
class GroupSplitter {
  public:
    // Lists small, medium-size and great. A list shared with a copy, or with less capacity than
    // expectedSteps, is replaced by fresh storage of that capacity.
    GroupSplitter(const std::array<QStringList*, 3>& lists, qsizetype expectedSteps);
    ~GroupSplitter();
    GroupSplitter(const GroupSplitter&) = delete;
    GroupSplitter& operator=(const GroupSplitter&) = delete;

    // Writes the group texts of the step's line at index step of each list. Steps come in
    // order from 0; the line's characters stay alive and unchanged until Finish.
    void Put(qsizetype step, const QString& line);
    // Ends each list after count steps (the number put).
    void Finish(qsizetype count);

  private:
    struct SplitLine {
        const QChar* data = nullptr;
        qsizetype size = 0;
        std::array<QString, 3> texts;
    };
    // The memo of recent short lines: index of a line's memory.
    static constexpr int kMemoBits = 12;

    void Grow(qsizetype step);

    std::array<QStringList*, 3> lists_;
    qsizetype expectedSteps_;
    std::array<QString*, 3> out_{};
    qsizetype end_ = 0;  // the smallest list size: steps below it are written in place
    ShortTextPool pool_;
    // A group text is a subsequence of its line, so a line's length bounds the scratch needed.
    std::array<std::vector<QChar>, 3> scratch_;
    std::vector<SplitLine>* memo_;
    std::vector<SplitLine> ownMemo_;
    bool* busyFlag_ = nullptr;  // the thread's memo, while this splitter uses it
};

}  // namespace orvane
