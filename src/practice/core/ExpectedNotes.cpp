#include "practice/core/ExpectedNotes.h"

#include "chime/core/ChimeScore.h"

#include <QStringView>
#include <algorithm>

namespace orvane {

std::vector<ExpectedNote> ExpectedNotes(const QStringList& steps, const std::array<bool, 3>& practised,
                                        const BellSet& bellSet) {
    std::vector<ExpectedNote> notes;
    notes.reserve(std::size_t(steps.size()));
    // The row of every group letter and rank digit, counted once.
    std::array<std::array<int, 10>, 3> rows{};
    for (int g = 0; g < 3; ++g) {
        for (int rank = 0; rank < 10; ++rank) {
            rows[std::size_t(g)][std::size_t(rank)] = FindGroupBell(QStringLiteral("smb").at(g), rank, bellSet);
        }
    }
    for (qsizetype step = 0; step < steps.size(); ++step) {
        const QString& line = steps.at(step);
        if (line.size() <= 1) {
            continue;
        }
        const std::size_t firstOfStep = notes.size();
        qsizetype from = 0;
        while (from <= line.size()) {
            qsizetype comma = line.indexOf(u',', from);
            if (comma < 0) {
                comma = line.size();
            }
            const QStringView mark = QStringView(line).mid(from, comma - from);
            from = comma + 1;
            if (mark.size() < 2 || mark.at(1) < u'0' || mark.at(1) > u'9') {
                continue;
            }
            const int group = GroupIndexOf(mark.at(0));
            if (group < 0 || !practised[std::size_t(group)]) {
                continue;
            }
            const int rank = mark.at(1).unicode() - u'0';
            const int bell = rows[std::size_t(group)][std::size_t(rank)];
            const bool named = std::any_of(notes.begin() + std::ptrdiff_t(firstOfStep), notes.end(),
                                           [bell](const ExpectedNote& n) { return n.bell == bell; });
            if (!named) {
                notes.push_back({int(step), bell, group, rank});
            }
        }
    }
    return notes;
}

std::array<int, BellSet::kBellCount> GroupOfBells(const BellSet& bellSet) {
    std::array<int, BellSet::kBellCount> groups{};
    for (int bell = 0; bell < BellSet::kBellCount; ++bell) {
        const int code = bellSet.group[std::size_t(bell)];
        groups[std::size_t(bell)] =
            bellSet.inSet[std::size_t(bell)] && code >= kSmallGroup && code <= kGreatGroup ? code - 1 : -1;
    }
    return groups;
}

}  // namespace orvane
