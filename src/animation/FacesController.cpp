#include "animation/FacesController.h"

#include "app/TfrmMain.h"

namespace orvane {

FacesController::FacesController(TfrmMain& main) : QObject(&main), main_(main) {}

void FacesController::Connect() {}

void FacesController::CreateFaces() {}

void FacesController::LayoutFaces() {}

void FacesController::AnimateBell(int) {}

void FacesController::ClearGroupFrames(QChar) {}

void FacesController::ShowRestFrames() {}

void FacesController::ApplyViewAtStart() {}

void FacesController::cbViewChange() {}

void FacesController::cbShowMovieClick() {}

}  // namespace orvane
