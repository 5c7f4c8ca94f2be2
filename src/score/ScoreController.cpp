#include "score/ScoreController.h"

#include "app/TfrmMain.h"

namespace orvane {

ScoreController::ScoreController(TfrmMain& main) : QObject(&main), main_(main) {}

void ScoreController::Connect() {}

void ScoreController::ResetDrawingState() {}

void ScoreController::CreateScoreImages() {}

void ScoreController::RedrawScore() {}

void ScoreController::DrawScoreGrid() {}

void ScoreController::cbShowNotesClick() {}

}  // namespace orvane
