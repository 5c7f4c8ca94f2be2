#pragma once

#include "chime/core/TransportModel.h"
#include "chime/core/TransportRequests.h"

// The transport's owner in a rig without the player: each request writes the model, as the
// player does.
class ModelTransport final : public orvane::TransportRequests {
public:
    explicit ModelTransport(orvane::TransportModel& model) : model_(model) {}

    void RequestPage(int page) override { model_.CurrentPage = page; }
    void RequestPosition(int position) override { model_.StepPosition = position; }
    void RequestStudyMode(bool on) override { model_.StudyMode = on; }
    void RequestCasualMode() override { model_.CasualMode = true; }

private:
    orvane::TransportModel& model_;
};
