#pragma once

#include "animation/ui/FacesController.h"
#include "app/core/Guard.h"
#include "score/ui/ScoreController.h"
#include "support/ControllerRig.h"
#include "support/ModelTransport.h"
#include "support/ModelView.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The score view built from its collaborators alone (with the bell faces, which take the chord
// groups of a loaded chime), set up as at start-up.
struct ScoreRig : ControllerRig {
    explicit ScoreRig(const ProgramFolder& folder)
        : ControllerRig(folder),
          facesController(orvane::FacesWidgetsOf(form), data, bellModel, viewModel, viewOwner),
          controller(window, orvane::ScoreWidgetsOf(form), data, bellModel, transportModel, transportOwner) {
        window.resize(1100, 760);
        facesController.CreateFaces();
        controller.CreateScoreImages();
        controller.cbShowNotesClick();
        facesController.Connect();
        controller.Connect();
    }

    void resize(int width, int height) { window.resize(width, height); }

    ModelView viewOwner{viewModel};
    orvane::FacesController facesController;
    ModelTransport transportOwner{transportModel};
    orvane::ScoreController controller;
    orvane::FacesController* const faces = &facesController;
    orvane::ScoreController* const score = &controller;
    orvane::BellSet& Bells = bellModel.Bells;
    std::unique_ptr<orvane::TChannels>& Channels = data.Channels;
    orvane::ModelValue<int>& StepPosition = transportModel.StepPosition;
    orvane::ModelValue<int>& CurrentPage = transportModel.CurrentPage;
};

// A controller rig without a main window, shown. `Rig` is built from the program folder.
template <class Rig>
class RigFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        orvane::GuardLog::Reset();
    }

    std::unique_ptr<Rig> Start() {
        auto w = std::make_unique<Rig>(folder);
        w->window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w->window));
        return w;
    }

    ProgramFolder folder;
};

