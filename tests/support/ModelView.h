#pragma once

#include "app/core/ViewModel.h"
#include "app/core/ViewRequests.h"

// The view model's owner in a rig without the layout controller: each request writes the model,
// as the layout controller does.
class ModelView final : public orvane::ViewRequests {
public:
    explicit ModelView(orvane::ViewModel& model) : model_(model) {}

    void RequestPanels(bool tools, bool bells, bool info, bool groups) override {
        model_.ShowTools = tools;
        model_.ShowBells = bells;
        model_.ShowInfo = info;
        model_.ShowGroups = groups;
    }
    void RequestSchematicView(bool on) override { model_.SchematicView = on; }

private:
    orvane::ViewModel& model_;
};
