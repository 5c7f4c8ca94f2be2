#pragma once

#include "app/core/ModelValue.h"

#include <QObject>

namespace orvane {

// Which panels of the main window are shown (tools, bell selection, information, groups) and
// whether the faces use the schematic view. Written only by its owner, the layout controller
// (the view menu); the settings at start-up and the faces ask it through ViewRequests. The
// start-up sequence sets the first schematic flag. User-interface thread.
class ViewModel : public QObject {
    Q_OBJECT

public:
    explicit ViewModel(QObject* parent = nullptr) : QObject(parent) {}

    ModelValue<bool> ShowTools{[this](bool v) { emit ShowToolsChanged(v); }, true};
    ModelValue<bool> ShowBells{[this](bool v) { emit ShowBellsChanged(v); }, true};
    ModelValue<bool> ShowInfo{[this](bool v) { emit ShowInfoChanged(v); }, true};
    ModelValue<bool> ShowGroups{[this](bool v) { emit ShowGroupsChanged(v); }, true};
    ModelValue<bool> SchematicView{[this](bool v) { emit SchematicViewChanged(v); }};

signals:
    void ShowToolsChanged(bool shown);
    void ShowBellsChanged(bool shown);
    void ShowInfoChanged(bool shown);
    void ShowGroupsChanged(bool shown);
    void SchematicViewChanged(bool on);
};

}  // namespace orvane
