#include "recorder/core/RecorderMarks.h"

namespace orvane {

QString RecorderMark(int row, const BellSet& bells) {
    if (row < 0 || row >= BellSet::kBellCount) {
        return {};
    }
    const int code = bells.group[static_cast<std::size_t>(row)];
    int rank = 0;
    if (code == kGreatGroup) {
        for (int r = 0; r <= row; ++r) {
            rank += bells.inSet[static_cast<std::size_t>(r)] &&
                    bells.group[static_cast<std::size_t>(r)] == code;
        }
    } else {
        for (int r = BellSet::kBellCount - 1; r >= row; --r) {
            rank += bells.inSet[static_cast<std::size_t>(r)] &&
                    bells.group[static_cast<std::size_t>(r)] == code;
        }
    }
    const QString letter = code == kNoGroup ? QString() : QString(GroupLetter(code));
    return letter + QString::number(rank);
}

void AppendStroke(QString& recordText, const QString& mark) {
    if (!recordText.isEmpty()) {
        recordText += u',';
    }
    recordText += mark;
}

QString RecordDurationText(quint32 elapsedMs) {
    return QString::fromUtf8("Продолжительность: ") + QString::number(elapsedMs / 1000) +
           QString::fromUtf8(" секунд");
}

QString RecordLineText(int lineNumber) {
    return QString::fromUtf8("Строка: ") + QString::number(lineNumber);
}

QString RecordStoppedText() {
    return QString::fromUtf8("Состояние: Остановлено");
}

QString RecordRunningText() {
    return QString::fromUtf8("Состояние: Запись");
}

}  // namespace orvane
