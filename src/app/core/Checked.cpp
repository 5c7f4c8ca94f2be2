#include "app/core/Checked.h"

#include "app/core/IniFile.h"

namespace orvane {

const QString& At(const QStringList& list, qsizetype i) {
    if (i < 0 || i >= list.size()) {
        throw std::out_of_range("list index out of bounds");
    }
    return list[i];
}

int StrToInt(const QString& text) {
    int value = 0;
    if (!IniFile::ParseInteger(text, value)) {
        throw std::invalid_argument("not an integer");
    }
    return value;
}

}  // namespace orvane
