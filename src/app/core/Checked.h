#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace orvane {

// Checked access for the handlers that run under Guarded: a failure throws, the guard ends
// the handler, and the state reached so far stays.

// Line i of a list; throws std::out_of_range when there is none.
const QString& At(const QStringList& list, qsizetype i);

// The integer of text (decimal, or hexadecimal after "$" or "0x"); throws
// std::invalid_argument when text is not an integer.
int StrToInt(const QString& text);

}  // namespace orvane
