#include "chime/core/GroupSplitter.h"

#include "catalogue/core/BellSet.h"
#include "chime/core/LargeStorage.h"

#include <algorithm>

namespace orvane {

namespace {

// Past the old strings the lists grow a block of empty texts at a time, which the next steps
// then fill.
constexpr qsizetype kBlock = 2048;

}  // namespace

GroupSplitter::GroupSplitter(const std::array<QStringList*, 3>& lists, qsizetype expectedSteps)
    : lists_(lists), expectedSteps_(expectedSteps) {
    for (QStringList* list : lists_) {
        if (!list->isDetached() || list->capacity() < expectedSteps) {
            *list = QStringList();
            list->reserve(expectedSteps);
            AdviseLargePages(list->constData(), list->capacity() * qsizetype(sizeof(QString)));
        }
    }
    for (int group = 0; group < 3; ++group) {
        out_[group] = lists_[group]->data();
    }
    end_ = std::min({lists_[0]->size(), lists_[1]->size(), lists_[2]->size()});
    // The memo's storage (some hundreds of kilobytes) is kept from split to split on each
    // thread and emptied first; a splitter made while another one lives has its own.
    struct MemoStore {
        std::vector<SplitLine> entries;
        bool busy = false;
    };
    thread_local MemoStore store;
    if (!store.busy) {
        store.busy = true;
        busyFlag_ = &store.busy;
        memo_ = &store.entries;
    } else {
        memo_ = &ownMemo_;
    }
    memo_->assign(size_t(1) << kMemoBits, SplitLine());
}

GroupSplitter::~GroupSplitter() {
    if (busyFlag_) {
        *busyFlag_ = false;
    }
}

void GroupSplitter::Grow(qsizetype step) {
    for (int group = 0; group < 3; ++group) {
        QStringList& list = *lists_[group];
        if (list.size() <= step) {
            // Within the expected steps while they last.
            list.resize(std::min(std::max(expectedSteps_, step + 1), step + kBlock));
            out_[group] = list.data();
        }
    }
    end_ = std::min({lists_[0]->size(), lists_[1]->size(), lists_[2]->size()});
}

void GroupSplitter::Put(qsizetype step, const QString& line) {
    if (step >= end_) {
        Grow(step);
    }
    const qsizetype size = line.size();
    if (size == 0) {
        for (int group = 0; group < 3; ++group) {
            out_[group][step] = QString();
        }
        return;
    }
    // The lines stay alive and unchanged while the splitter lives, so equal memory and size
    // mean equal text.
    SplitLine* known = nullptr;
    if (size <= ShortTextPool::kMaxLength) {
        const auto address = quint64(reinterpret_cast<quintptr>(line.constData()));
        known = &(*memo_)[(address * 0x9E3779B97F4A7C15ull) >> (64 - kMemoBits)];
        if (known->data == line.constData() && known->size == size) {
            for (int group = 0; group < 3; ++group) {
                out_[group][step] = known->texts[group];
            }
            return;
        }
    }
    if (qsizetype(scratch_[0].size()) < size) {
        for (auto& buffer : scratch_) {
            buffer.resize(size);
        }
    }
    qsizetype length[3] = {0, 0, 0};
    const QChar* end = line.constData() + size;
    for (const QChar* mark = line.constData(); mark < end;) {
        const QChar* markEnd = mark;
        while (markEnd < end && *markEnd != u',') {
            ++markEnd;
        }
        const int group = markEnd > mark ? GroupIndexOf(*mark) : -1;
        if (group >= 0) {
            QChar* write = scratch_[group].data() + length[group];
            if (length[group] > 1) {
                *write++ = u',';
            }
            while (mark < markEnd) {
                *write++ = *mark++;
            }
            length[group] = write - scratch_[group].data();
        }
        if (markEnd == end) {
            break;
        }
        mark = markEnd + 1;
    }
    std::array<QString, 3> texts;
    for (int group = 0; group < 3; ++group) {
        if (length[group] == size) {
            // As long as the line: the line itself.
            texts[group] = line;
        } else if (length[group] > 0) {
            texts[group] = pool_.Get(scratch_[group].data(), length[group]);
        }
        out_[group][step] = texts[group];
    }
    if (known) {
        known->data = line.constData();
        known->size = size;
        known->texts = std::move(texts);
    }
}

void GroupSplitter::Finish(qsizetype count) {
    for (QStringList* list : lists_) {
        list->resize(count);
    }
}

}  // namespace orvane
