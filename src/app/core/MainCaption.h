#pragma once

#include <QString>

namespace orvane {

// The program's title, and the main window's caption when no chime is chosen.
inline constexpr const char* kProgramTitle = "Orvane 1.0 beta 2";
inline QString DefaultMainCaption() {
    return QString::fromLatin1(kProgramTitle) +
           QStringLiteral(" - Hollin`s school of the bell ringers");
}

}  // namespace orvane
