#pragma once

#include "catalogue/core/BellSet.h"

#include <QString>
#include <QtGlobal>

namespace orvane {

// The texts and the arithmetic of the recording panel. Pure functions, any thread.

// The bell mark of a struck catalogue row (0..14): the group letter ("s", "m", "b") and the
// rank of the bell within its group in the bell set. Great bells are counted from row 0
// upwards, small and medium-size bells from row 14 downwards, up to and including the struck
// row, counting the rows in the set with the same group: the counting of FindGroupBell, so the
// mark sounds the same bell on the same set. A bell without a group gives the rank alone.
// A row outside 0..14 gives an empty mark.
QString RecorderMark(int row, const BellSet& bells);

// Appends a mark to the record text of the current step: "," first unless the text is empty.
void AppendStroke(QString& recordText, const QString& mark);

// "Продолжительность: " + whole seconds of the elapsed milliseconds + " секунд".
QString RecordDurationText(quint32 elapsedMs);
// "Строка: " + the 1-based line number.
QString RecordLineText(int lineNumber);
// The status texts of the panel.
QString RecordStoppedText();
QString RecordRunningText();

}  // namespace orvane
