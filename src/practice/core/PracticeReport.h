#pragma once

#include "practice/core/PracticeHistory.h"
#include "practice/core/PracticePlots.h"
#include "practice/core/PracticeStats.h"

#include <QRectF>
#include <QString>
#include <array>
#include <vector>

class QPainter;

namespace orvane {

// Everything the result of one pass shows.
struct PracticeReport {
    PracticeRecord record;                // the pass as the history keeps it
    PracticeSummary summary;
    std::array<bool, 3> groups{};         // practised groups
    std::array<QString, BellSet::kBellCount> bellNames;  // "b1", "m2", ... of each catalogue row
    std::vector<ErrorPoint> points;
    double durationSeconds = 0.0;
    std::vector<PracticeRecord> passes;   // earlier passes of the chime and this one, oldest first

    // The signed error as words: "12.5 ms behind", "3.0 ms ahead", "on the beat".
    static QString ErrorWords(double errorMs);
    // The names of the bells by catalogue row: group letter and rank ("b1" the heaviest great
    // bell), empty for a bell out of the set.
    static std::array<QString, BellSet::kBellCount> BellNames(const BellSet& bellSet);

    // Draws the whole report into `page` (any paint device, in its logical units): title, the
    // summary table per pass, practised group and bell, then the error plot and the progress
    // plot. Laid out for a landscape page of about 1000 x 700 units and scales with it.
    void Paint(QPainter& painter, const QRectF& page) const;
    // The summary table's rows: label and figures, the pass first.
    std::vector<std::pair<QString, StrokeSummary>> Rows() const;
};

}  // namespace orvane
