#pragma once

#include <QSlider>

namespace orvane {

// A slider with the program's rules: setting the position from code clamps it into
// [minimum, maximum] and emits valueChanged only when the position really changes; a maximum
// below the minimum is ignored (a plain QSlider would move its minimum instead); lowering the
// maximum below the position moves the position and emits valueChanged.
class TSlider : public QSlider {
    Q_OBJECT

public:
    TSlider(const QString& name, Qt::Orientation orientation, QWidget* parent);

    void SetMax(int maximum);
    void SetMin(int minimum);
    void SetPosition(int position) { setValue(position); }
    int Position() const { return value(); }
};

}  // namespace orvane
