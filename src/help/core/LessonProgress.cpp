#include "help/core/LessonProgress.h"

#include <cmath>

namespace orvane {

std::optional<QString> LessonProgressText(qint64 progress, qint64 maximum) {
    if (maximum <= 0) {
        return std::nullopt;
    }
    const double percent = static_cast<double>(progress) / static_cast<double>(maximum) * 100.0;
    const auto rounded = static_cast<qint64>(std::nearbyint(percent));
    return QString::number(rounded) + QStringLiteral("%") + QString::fromUtf8(" Выполнено");
}

}  // namespace orvane
