#pragma once

#include "app/core/ModelValue.h"
#include "catalogue/core/BellSet.h"

#include <QObject>

namespace orvane {

// The bell set in use (catalogue rows in the set and their groups), the chosen variant of the
// recommended groups, and the current bell (catalogue row 0-14) that the keys and the preview
// act on. The catalogue controllers edit Bells in place and then call NotifyBellsChanged; the
// current bell is written by the bell strip and the keys. User-interface thread.
class BellSetModel : public QObject {
    Q_OBJECT

public:
    explicit BellSetModel(QObject* parent = nullptr) : QObject(parent) {}

    BellSet Bells;
    ModelValue<int> CurrentBell{[this](int v) { emit CurrentBellChanged(v); }};
    ModelValue<int> VariantIndex{[this](int v) { emit VariantIndexChanged(v); }};

    // Called by a writer after it edited Bells.
    void NotifyBellsChanged() { emit BellsChanged(); }

signals:
    void BellsChanged();
    void CurrentBellChanged(int bell);
    void VariantIndexChanged(int index);
};

}  // namespace orvane
