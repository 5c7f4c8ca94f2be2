#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

// Replaces the content of target with the fields of text, split at every occurrence of
// separator (which may be longer than one character). Two separators in a row give an empty
// field, a leading separator an empty first field, a trailing one no empty last field, and an
// empty text no field at all. A null target does nothing; an empty separator yields the whole
// text as one field.
void SplitString(const QString& text, const QString& separator, QStringList* target);

}  // namespace orvane
