#include "app/ui/TSlider.h"

namespace orvane {

TSlider::TSlider(const QString& name, Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent) {
    setObjectName(name);
}

void TSlider::SetMax(int maximum) {
    if (maximum < minimum()) {
        return;
    }
    setMaximum(maximum);
}

void TSlider::SetMin(int minimum) {
    if (minimum > maximum()) {
        return;
    }
    setMinimum(minimum);
}

}  // namespace orvane
