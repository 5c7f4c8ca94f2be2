#include "catalogue/core/ListFile.h"

namespace orvane {

void SplitString(const QString& text, const QString& separator, QStringList* target) {
    if (!target) {
        return;
    }
    target->clear();
    if (text.isEmpty()) {
        return;
    }
    if (separator.isEmpty()) {
        target->append(text);
        return;
    }
    qsizetype from = 0;
    const qsizetype n = text.size();
    while (from < n) {
        qsizetype p = text.indexOf(separator, from);
        if (p < 0) {
            p = n;
        }
        target->append(text.mid(from, p - from));
        from = p + separator.size();
    }
}

}  // namespace orvane
