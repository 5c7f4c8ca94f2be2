#include "chime/core/CustomChime.h"

namespace orvane {

std::optional<CustomChime> ParseCustomChime(const QStringList& lines) {
    if (lines.size() < 5 || lines.at(0).size() != kCustomSetLength ||
        lines.at(1).size() != kCustomSetLength) {
        return std::nullopt;
    }
    CustomChime chime;
    chime.bells = lines.at(0);
    chime.types = lines.at(1);
    chime.name = lines.at(2);
    chime.description = lines.at(3);
    chime.score = lines.mid(4);
    return chime;
}

std::optional<QString> CustomChimeDescription(const QStringList& lines) {
    if (lines.size() < 4) {
        return std::nullopt;
    }
    return lines.at(3) + QStringLiteral("\n\n") + lines.at(2);
}

QString CustomChimePath(const QString& customDir, const QString& name) {
    return customDir + name + QStringLiteral(".kol");
}

}  // namespace orvane
