#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace orvane {

// A custom chime file: four leading lines in front of an ordinary chime score. Pure functions,
// safe on any thread.
struct CustomChime {
    QString bells;        // line 1: the stored form of the bell set ("1" per bell in the set)
    QString types;        // line 2: the group letter of each bell
    QString name;         // line 3: shown in the window title
    QString description;  // line 4: shown in the chime selection dialog
    QStringList score;    // the header line and the step lines
};

// The number of characters of the bell set and group lines.
inline constexpr int kCustomSetLength = 15;

// The parts of the lines of a custom chime file, or nothing when the lines cannot be one: fewer
// than five lines (the four leading lines and a header), or a bell set or group line that is
// not 15 characters long (an ordinary chime score, whose first line is its header, is refused
// here before it could replace the bell set).
std::optional<CustomChime> ParseCustomChime(const QStringList& lines);

// The text of the description memo: the description, an empty line, then the name. Nothing when
// the file has fewer than four lines.
std::optional<QString> CustomChimeDescription(const QStringList& lines);

// The file of entry name of the custom chime list: customDir + name + ".kol".
QString CustomChimePath(const QString& customDir, const QString& name);

}  // namespace orvane
