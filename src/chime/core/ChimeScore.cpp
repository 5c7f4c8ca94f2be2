#include "chime/core/ChimeScore.h"

#include "catalogue/core/BellSet.h"
#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/TextFile.h"
#include "catalogue/core/ListFile.h"
#include "chime/core/ScoreText.h"

#include <QFile>
#include <QStringView>
#include <algorithm>
#include <vector>

namespace orvane {

namespace {

constexpr std::array<QChar, 3> kGroupLetters{u's', u'm', u'b'};


// Shares one string among equal short texts. Scores repeat the same few step lines and group
// lines over and over ("s1", "b1,b2", "#"), so a score's lines then cost a few hundred
// allocations instead of one each. Texts longer than kMaxLength, and new texts once the pool
// is full, get strings of their own.
class TextPool {
  public:
    static constexpr qsizetype kMaxLength = 16;

    TextPool() : slots_(kSlotCount) {}

    QString Get(const QChar* text, qsizetype length) {
        if (length > kMaxLength) {
            return QString(text, length);
        }
        size_t hash = 14695981039346656037ull;
        for (qsizetype i = 0; i < length; ++i) {
            hash = (hash ^ text[i].unicode()) * 1099511628211ull;
        }
        for (size_t i = hash & (kSlotCount - 1);; i = (i + 1) & (kSlotCount - 1)) {
            Slot& slot = slots_[i];
            if (slot.text.isNull()) {
                if (entries_ == kMaxEntries) {
                    return QString(text, length);
                }
                ++entries_;
                slot.hash = hash;
                slot.text = QString(text, length);
                return slot.text;
            }
            if (slot.hash == hash && slot.text.size() == length &&
                Equal(text, slot.text.constData(), length)) {
                return slot.text;
            }
        }
    }

  private:
    static constexpr size_t kSlotCount = 8192;
    static constexpr int kMaxEntries = kSlotCount / 2;

    static bool Equal(const QChar* a, const QChar* b, qsizetype length) {
        for (qsizetype i = 0; i < length; ++i) {
            if (a[i] != b[i]) {
                return false;
            }
        }
        return true;
    }

    struct Slot {
        size_t hash = 0;
        QString text;
    };
    std::vector<Slot> slots_;
    int entries_ = 0;
};

// The whole text of the file, decoded; false when it cannot be opened or read.
bool ReadScoreText(const QString& path, QString& text) {
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    text = DecodeText(bytes);
    return true;
}

// Reads the header line into the interval and the animation flags and reports the groups
// that play chords. False (with nothing reported) when there is no usable header.
bool ParseHeader(TChannels& channels, int& interval, ChimeScoreObserver& observer) {
    channels.HeaderMarks.clear();
    if (channels.RawLines.isEmpty()) {
        return false;
    }
    SplitString(channels.RawLines.first(), QStringLiteral(";"), &channels.Fields);
    int value = 0;
    // A decimal integer only: the hexadecimal forms of the settings file ("$", "0x") are not.
    if (channels.Fields.isEmpty() || channels.Fields.first().contains(u'$') ||
        channels.Fields.first().contains(u'x', Qt::CaseInsensitive) ||
        !IniFile::ParseInteger(channels.Fields.first(), value)) {
        return false;
    }
    interval = std::clamp(value, kMinStepInterval, kMaxStepInterval);
    if (channels.Fields.size() > 1) {
        SplitString(channels.Fields.at(1), QStringLiteral(","), &channels.HeaderMarks);
        for (const QString& mark : std::as_const(channels.HeaderMarks)) {
            if (mark.size() > 1 && mark.at(1) == u'-') {
                const int group = GroupIndexOf(mark.at(0));
                if (group >= 0) {
                    channels.GroupAnimation[group] = false;
                }
            }
        }
    }
    for (int group = 0; group < 3; ++group) {
        if (!channels.GroupAnimation[group]) {
            observer.ClearGroupFrames(kGroupLetters[group]);
        }
    }
    return true;
}

// The lines of the normalised text, split as SplitLines does (CR LF, LF or CR; a break at the
// end adds no empty line).
QStringList SplitScoreLines(const QString& text, TextPool& pool) {
    const QChar* data = text.constData();
    const qsizetype n = text.size();
    // Each CR and each LF not after a CR ends a line.
    qsizetype count = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        count += c == u'\r' || (c == u'\n' && (i == 0 || data[i - 1] != u'\r'));
    }
    const bool openLast = n > 0 && data[n - 1] != u'\r' && data[n - 1] != u'\n';
    QStringList lines(count + (openLast ? 1 : 0));
    QString* line = lines.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (c != u'\r' && c != u'\n') {
            continue;
        }
        *line++ = pool.Get(data + start, i - start);
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    if (openLast) {
        *line = pool.Get(data + start, n - start);
    }
    return lines;
}

}  // namespace

void LoadChimeScore(TChannels& channels, int target, const QString& path,
                    ChimeScoreObserver& observer) {
    if (target < kSmallStudyChime || target > kWholeChime) {
        return;
    }
    QString text;
    if (!ReadScoreText(path, text)) {
        return;
    }
    {
        TextPool pool;
        channels.RawLines = SplitScoreLines(JoinAndNormaliseScoreText(text), pool);
    }
    text.clear();

    channels.GroupAnimation.fill(true);
    int headerInterval = channels.StepInterval;
    bool headerRead = false;
    Guarded([&] { headerRead = ParseHeader(channels, headerInterval, observer); });
    if (!headerRead) {
        headerInterval = channels.StepInterval;
        channels.GroupAnimation.fill(true);
    }

    if (channels.RawLines.isEmpty()) {
        return;
    }
    channels.RawLines.removeFirst();

    if (target == kWholeChime) {
        channels.Steps = channels.RawLines;
        SplitByGroup(channels);
        channels.StepInterval = headerInterval;
    } else {
        channels.GroupSteps(target) = channels.RawLines.mid(0, kStudyChimeSteps);
        MergeGroups(channels);
        channels.StepInterval = kStudyChimeInterval;
    }
    observer.ShowTempo();
    observer.ShowTotalDuration();
}

void SplitByGroup(TChannels& channels) {
    const qsizetype count = channels.Steps.size();
    QStringList* lists[3] = {&channels.SmallSteps, &channels.MiddleSteps, &channels.BigSteps};
    QString* out[3];
    for (int group = 0; group < 3; ++group) {
        lists[group]->clear();
        lists[group]->resize(count);
        out[group] = lists[group]->data();
    }
    TextPool pool;
    // A group text is a subsequence of its line, so a line's length bounds the scratch needed.
    std::array<std::vector<QChar>, 3> scratch;
    // The last step of each recent short line, by the memory of the line: the loader shares
    // one string among equal short lines, so a repeated line is split once and its group texts
    // are shared. The lines stay alive and unchanged during the loop, so equal memory and size
    // mean equal text.
    struct SplitLine {
        const QChar* data = nullptr;
        qsizetype size = 0;
        qsizetype step = 0;
    };
    constexpr int kMemoBits = 12;
    std::vector<SplitLine> memo(size_t(1) << kMemoBits);
    for (qsizetype step = 0; step < count; ++step) {
        const QString& line = channels.Steps.at(step);
        const qsizetype size = line.size();
        if (size == 0) {
            continue;
        }
        SplitLine* known = nullptr;
        if (size <= TextPool::kMaxLength) {
            const auto address = quint64(reinterpret_cast<quintptr>(line.constData()));
            known = &memo[(address * 0x9E3779B97F4A7C15ull) >> (64 - kMemoBits)];
            if (known->data == line.constData() && known->size == size) {
                for (int group = 0; group < 3; ++group) {
                    const QString& text = out[group][known->step];
                    if (!text.isNull()) {
                        out[group][step] = text;
                    }
                }
                continue;
            }
        }
        if (qsizetype(scratch[0].size()) < size) {
            for (auto& buffer : scratch) {
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
                QChar* write = scratch[group].data() + length[group];
                if (length[group] > 1) {
                    *write++ = u',';
                }
                while (mark < markEnd) {
                    *write++ = *mark++;
                }
                length[group] = write - scratch[group].data();
            }
            if (markEnd == end) {
                break;
            }
            mark = markEnd + 1;
        }
        for (int group = 0; group < 3; ++group) {
            if (length[group] == size) {
                // As long as the line: the line itself.
                out[group][step] = line;
            } else if (length[group] > 0) {
                out[group][step] = pool.Get(scratch[group].data(), length[group]);
            }
        }
        if (known) {
            *known = {line.constData(), size, step};
        }
    }
}

void MergeGroups(TChannels& channels) {
    channels.RawLines.clear();
    channels.Steps.clear();
    channels.Steps.reserve(kStudyChimeSteps);
    for (int step = 0; step < kStudyChimeSteps; ++step) {
        QString text;
        for (int group = 0; group < 3; ++group) {
            const QStringList& list = channels.GroupSteps(group);
            if (step >= list.size()) {
                continue;
            }
            const QString& line = list.at(step);
            if (text.size() > 1 && line.size() > 1) {
                text.append(u',');
            }
            text.append(line);
        }
        channels.Steps.append(text);
    }
}

int FindGroupBell(QChar letter, int rank, const BellSet& bellSet) {
    constexpr int kLastRow = BellSet::kBellCount - 1;
    const int code = GroupOfLetter(QString(letter));
    const bool upwards = code == kGreatGroup;
    int count = 0;
    for (int step = 0; step < BellSet::kBellCount; ++step) {
        const int row = upwards ? step : kLastRow - step;
        if (bellSet.inSet[row] && bellSet.group[row] == code) {
            ++count;
            if (count == rank) {
                return row;
            }
        }
    }
    return kLastRow;
}

}  // namespace orvane
