#pragma once

#include <QString>

namespace orvane {

// Checks of the two names the save dialog takes from the user before anything is written. A
// registration record is one line of a Windows-1251 list file with ";" between its fields, so a
// name may hold any character that code page can encode, Cyrillic included, but no line break,
// no other control character and no ";". Both functions are pure and thread-safe.

// The problem with the chime name ("Имя звона") and the file name ("Маска имени файла"), as a
// message for the user naming the field and the offending character; empty when both are
// acceptable. The chime name is checked first.
QString ChimeNameProblem(const QString& chimeName, const QString& fileName);

// The first character of text that a list file cannot hold, as a position in text; -1 when
// every character can be written and read back unchanged.
qsizetype FirstUnstorableChar(const QString& text);

}  // namespace orvane
