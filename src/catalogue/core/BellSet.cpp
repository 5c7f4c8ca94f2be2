#include "catalogue/core/BellSet.h"

namespace orvane {

QChar GroupLetter(int code) {
    switch (code) {
        case kSmallGroup:
            return u's';
        case kMiddleGroup:
            return u'm';
        case kGreatGroup:
            return u'b';
        default:
            return u'n';
    }
}

int GroupIndexOf(QChar letter) {
    switch (letter.unicode()) {
        case u's':
            return 0;
        case u'm':
            return 1;
        case u'b':
            return 2;
        default:
            return -1;
    }
}

int GroupOfLetter(const QString& letter) {
    if (letter == QLatin1String("s")) {
        return kSmallGroup;
    }
    if (letter == QLatin1String("m")) {
        return kMiddleGroup;
    }
    if (letter == QLatin1String("b")) {
        return kGreatGroup;
    }
    return kNoGroup;
}

int BellSet::SetSize() const {
    int n = 0;
    for (bool b : inSet) {
        n += b ? 1 : 0;
    }
    return n;
}

int BellSet::GroupCount(int code) const {
    int n = 0;
    for (int i = 0; i < kBellCount; ++i) {
        if (inSet[i] && group[i] == code) {
            ++n;
        }
    }
    return n;
}

QString BellSet::GroupSignature() const {
    return QString::number(GroupCount(kSmallGroup)) + QString::number(GroupCount(kMiddleGroup)) +
           QString::number(GroupCount(kGreatGroup));
}

void BellSet::Clear() {
    inSet.fill(false);
    group.fill(kNoGroup);
}

QString BellSet::StoredBells() const {
    QString s;
    for (int i = 0; i < kBellCount; ++i) {
        s += inSet[i] ? u'1' : u'0';
    }
    return s;
}

QString BellSet::StoredTypes() const {
    QString s;
    for (int i = 0; i < kBellCount; ++i) {
        s += inSet[i] ? GroupLetter(group[i]) : QChar(u'n');
    }
    return s;
}

}  // namespace orvane
