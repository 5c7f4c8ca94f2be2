#include "chime/PlayerController.h"

#include "app/LayoutController.h"
#include "app/TfrmMain.h"
#include "chime/TChannels.h"

#include <QToolButton>

namespace orvane {

PlayerController::PlayerController(TfrmMain& main) : QObject(&main), main_(main) {}

void PlayerController::Connect() {}

void PlayerController::ResetPlayer() {}

void PlayerController::ShowTempo() {
    MainForm& f = main_.form;
    f.btnTemp->setText(QStringLiteral("Tempo: ") + QString::number(1050 - main_.Channels->StepInterval));
    f.tbTemp->SetPosition(main_.Channels->StepInterval);
}

void PlayerController::ShowTotalDuration() {}

void PlayerController::PlaceMarkers() {
    const int left = LayoutController::MarkerLeft(main_.StepPosition, main_.form.pnlSmallBells->width());
    for (QWidget* marker : main_.Markers) {
        if (marker) {
            marker->move(left, 4);
        }
    }
}

}  // namespace orvane
