#include "chime/core/ChimeScore.h"

#include "catalogue/core/BellSet.h"
#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/TextFile.h"
#include "catalogue/core/ListFile.h"
#include "chime/core/GroupSplitter.h"
#include "chime/core/LargeStorage.h"
#include "chime/core/ScoreText.h"
#include "chime/core/ShortTextPool.h"

#include <QFile>
#include <QStringView>
#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

namespace orvane {

namespace {

constexpr std::array<QChar, 3> kGroupLetters{u's', u'm', u'b'};


// The bytes of the file, read into bytes (its storage reused when large enough); false when
// the file cannot be opened or read.
bool ReadScoreBytes(const QString& path, QByteArray& bytes) {
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const qint64 size = file.size();
    if (file.isSequential() || size <= 0 || size >= qint64(INT_MAX)) {
        bytes = file.readAll();
        return file.error() == QFileDevice::NoError;
    }
    if (size > bytes.capacity()) {
        bytes = QByteArray();
        bytes.reserve(qsizetype(size));
        AdviseLargePages(bytes.constData(), bytes.capacity());
    }
    bytes.resize(qsizetype(size));
    const qint64 read = file.read(bytes.data(), size);
    if (read < 0) {
        return false;
    }
    bytes.resize(qsizetype(read));
    if (read == size) {
        // Whatever was added to the file since its size was taken.
        bytes.append(file.readAll());
    }
    return file.error() == QFileDevice::NoError;
}

// The storage of the bytes of the score being loaded, kept from load to load on each thread:
// a large score then meets no fresh memory.
QByteArray& ScoreBytesBuffer() {
    thread_local QByteArray buffer;
    return buffer;
}

// At least the number of lines of the normalised text after its first: every line but the
// last ends with a CR or LF of the file or with a character that the normalisation turns into
// a break.
qsizetype MaxLinesAfterHeader(const QByteArray& bytes) {
    std::array<bool, 256> breaks{};
    for (const char c : {'\r', '\n', '_', '&', '@', '$'}) {
        breaks[static_cast<unsigned char>(c)] = true;
    }
    qsizetype count = 0;
    for (const char c : bytes) {
        count += breaks[static_cast<unsigned char>(c)];
    }
    return count;
}

// Splits the file's normalised text into its header (the first line; null when the text has
// no line) and the step lines, written over the strings of lines (not shared, with room for
// the lines) from the front; lines ends with the last step line. Equal short lines share one
// string. With groups, the group texts of each step line go into the three group lists as it
// is read (SplitByGroup), while the line is at hand, the lists being made ready for
// expectedLines steps; true when the text had a line (the group lists were then written).
bool ReadScoreLines(const QByteArray& bytes, QString& header, QStringList& lines,
                    const std::array<QStringList*, 3>* groups, qsizetype expectedLines) {
    ShortTextPool pool;
    std::optional<GroupSplitter> splitter;
    bool first = true;
    // Each line replaces the old string in its place, so the storage is passed once, in order.
    // Past the old strings the list grows a block of empty lines at a time, which the next
    // lines then fill.
    constexpr qsizetype kBlock = 2048;
    const qsizetype room = lines.capacity();
    qsizetype used = 0;
    QString* data = lines.data();
    const ScoreLineVisitor add = [&](const QChar* text, qsizetype length) {
        if (first) {
            header = QString(text, length);
            first = false;
            if (groups) {
                splitter.emplace(*groups, expectedLines);
            }
            return;
        }
        if (used == lines.size()) {
            lines.resize(std::min(std::max(room, used + 1), used + kBlock));
            data = lines.data();
        }
        QString line = pool.Get(text, length);
        data[used].swap(line);
        if (splitter) {
            splitter->Put(used, data[used]);
        }
        ++used;
    };
    if (!ForEachScoreLine(bytes, add)) {
        ForEachScoreLine(DecodeText(bytes), add);
    }
    lines.resize(used);
    if (splitter) {
        splitter->Finish(used);
    }
    return splitter.has_value();
}

// Reads the header line into the interval and the animation flags and reports the groups
// that play chords. False (with nothing reported) when there is no usable header.
bool ParseHeader(TChannels& channels, const QString& header, int& interval,
                 ChimeScoreObserver& observer) {
    channels.HeaderMarks.clear();
    if (header.isNull()) {
        return false;
    }
    SplitString(header, QStringLiteral(";"), &channels.Fields);
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

}  // namespace

void LoadChimeScore(TChannels& channels, int target, const QString& path,
                    ChimeScoreObserver& observer) {
    if (target < kSmallStudyChime || target > kWholeChime) {
        return;
    }
    QByteArray& bytes = ScoreBytesBuffer();
    if (!ReadScoreBytes(path, bytes)) {
        bytes.resize(0);
        return;
    }
    // The step lines go into the storage of the previous ones, kept from load to load as the
    // container lives: a large score then costs no fresh memory. A whole chime replaces the
    // played list as soon as the file has a line, so it lets go of its share first.
    QStringList lines = std::move(channels.RawLines);
    channels.RawLines = QStringList();
    if (target == kWholeChime && !bytes.isEmpty()) {
        channels.Steps = QStringList();
    }
    if (!lines.isDetached()) {
        lines = QStringList();
    }
    const qsizetype maxLines = MaxLinesAfterHeader(bytes);
    if (maxLines > lines.capacity()) {
        // Too small: fresh storage, without moving the old strings into it.
        lines = QStringList();
        lines.reserve(maxLines);
        AdviseLargePages(lines.constData(), lines.capacity() * qsizetype(sizeof(QString)));
    }
    QString header;
    const std::array<QStringList*, 3> groups{&channels.SmallSteps, &channels.MiddleSteps,
                                             &channels.BigSteps};
    const bool split =
        ReadScoreLines(bytes, header, lines, target == kWholeChime ? &groups : nullptr, maxLines);
    bytes.resize(0);

    channels.GroupAnimation.fill(true);
    int headerInterval = channels.StepInterval;
    bool headerRead = false;
    Guarded([&] { headerRead = ParseHeader(channels, header, headerInterval, observer); });
    if (!headerRead) {
        headerInterval = channels.StepInterval;
        channels.GroupAnimation.fill(true);
    }

    channels.RawLines = std::move(lines);
    if (header.isNull()) {
        return;
    }

    if (target == kWholeChime) {
        channels.Steps = channels.RawLines;
        if (!split) {
            SplitByGroup(channels);
        }
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
    const QStringList& steps = channels.Steps;
    const qsizetype count = steps.size();
    GroupSplitter splitter({&channels.SmallSteps, &channels.MiddleSteps, &channels.BigSteps},
                           count);
    for (qsizetype step = 0; step < count; ++step) {
        splitter.Put(step, steps.at(step));
    }
    splitter.Finish(count);
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
