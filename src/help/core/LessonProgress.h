#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace orvane {

// The status text of the lesson window for a page load at `progress` of `maximum`:
// round(progress / maximum x 100) + "% Выполнено" (nearest, halves to even). Nothing when the
// maximum is 0 or less: the status keeps its text.
std::optional<QString> LessonProgressText(qint64 progress, qint64 maximum);

}  // namespace orvane
