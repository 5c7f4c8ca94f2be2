#pragma once

#include "app/core/ModelValue.h"

#include <QObject>
#include <QString>

namespace orvane {

// The recorder's state: recording on, the strokes of the current step not yet written to the
// record list, the recorded time in milliseconds, and whether the bell keys ring (the recorder
// takes them while its editor has the focus). Written by the recorder (and reset by the
// start-up sequence); read by the keys. User-interface thread.
class RecorderModel : public QObject {
    Q_OBJECT

public:
    explicit RecorderModel(QObject* parent = nullptr) : QObject(parent) {}

    ModelValue<bool> Recording{[this](bool v) { emit RecordingChanged(v); }};
    ModelValue<QString> RecordText{[this](const QString&) { emit RecordTextChanged(); }};
    ModelValue<quint32> RecElapsed{[this](quint32 v) { emit RecElapsedChanged(v); }};
    ModelValue<bool> KeysEnabled{[this](bool v) { emit KeysEnabledChanged(v); }};

signals:
    void RecordingChanged(bool on);
    void RecordTextChanged();
    void RecElapsedChanged(quint32 milliseconds);
    void KeysEnabledChanged(bool on);
};

}  // namespace orvane
