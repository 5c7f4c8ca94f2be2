#include "chime/ui/CasualController.h"

#include "app/core/Guard.h"
#include "app/ui/TfrmMain.h"
#include "chime/ui/LibraryController.h"
#include "chime/ui/PlayerController.h"
#include "chime/ui/TfrmSelSound.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QToolButton>
#include <random>

namespace orvane {

CasualController::CasualController(TfrmMain& main) : QObject(&main), main_(main) {}

void CasualController::Connect() {
    MainForm& f = main_.form;
    connect(f.btnGenerator, &QToolButton::clicked, this,
            [this] { Guarded([&] { nGeneratorClick(); }); });
    connect(f.nGenerator, &QAction::triggered, this,
            [this] { Guarded([&] { nGeneratorClick(); }); });
}

int CasualController::Random(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(main_.rng);
}

Combination CasualController::SelectedCombination() const {
    Combination combination{0, 0, 0};
    for (int g = 0; g < 3; ++g) {
        const QComboBox* box = main_.GroupChimeBoxes[g];
        combination[g] = box ? box->currentIndex() : 0;
    }
    return combination;
}

Combination CasualController::EntryCounts() const {
    Combination counts{0, 0, 0};
    for (int g = 0; g < 3; ++g) {
        const QComboBox* box = main_.GroupChimeBoxes[g];
        counts[g] = box ? box->count() : 0;
    }
    return counts;
}

int CasualController::PickOther(int group) {
    const QComboBox* box = main_.GroupChimeBoxes.at(group);
    return orvane::PickOther(box->count(), box->currentIndex(),
                             [this](int n) { return Random(n); });
}

void CasualController::nGeneratorClick() {
    if (main_.Bells.SetSize() < kMinimumSetSize) {
        return;
    }
    // Without a study chime to choose no combination can ever be drawn.
    if (!CanDrawCombination(SelectedCombination(), EntryCounts())) {
        return;
    }
    if (main_.frmSelSound) {
        main_.frmSelSound->cbRound->setChecked(false);
    }
    main_.CasualMode = true;
    DrawCombination();
}

void CasualController::DrawCombination() {
    const Combination current = SelectedCombination();
    const std::optional<Combination> next =
        orvane::DrawCombination(current, EntryCounts(), [this](int n) { return Random(n); });
    if (next) {
        for (int g = 0; g < 3; ++g) {
            if ((*next)[g] == current[g]) {
                continue;
            }
            QComboBox* box = main_.GroupChimeBoxes[g];
            {
                const QSignalBlocker blocker(box);
                box->setCurrentIndex((*next)[g]);
            }
            main_.library->GroupChimeChange(g);
        }
    }
    if (!main_.player->Playing()) {
        main_.player->btnPlayClick();
    }
}

}  // namespace orvane
