#include "chime/ui/CasualController.h"

#include "app/core/Guard.h"
#include "catalogue/core/BellSetModel.h"
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

CasualController::CasualController(CasualWidgets widgets, BellSetModel& bells, std::mt19937& rng, const std::unique_ptr<TfrmSelSound>& frmSelSound, PlayerController& player, LibraryController& library)
    : widgets_(widgets), bells_(bells), rng_(rng), frmSelSound_(frmSelSound), player_(player), library_(library) {}

void CasualController::Connect() {
    const CasualWidgets& f = widgets_;
    Wire(f.btnGenerator, &QToolButton::clicked, f.nGenerator, &QAction::trigger);
    Wire(f.nGenerator, &QAction::triggered, this, &CasualController::nGeneratorClick);
}

int CasualController::Random(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(rng_);
}

Combination CasualController::SelectedCombination() const {
    Combination combination{0, 0, 0};
    for (int g = 0; g < 3; ++g) {
        const QComboBox* box = widgets_.GroupChimeBoxes[g];
        combination[g] = box ? box->currentIndex() : 0;
    }
    return combination;
}

Combination CasualController::EntryCounts() const {
    Combination counts{0, 0, 0};
    for (int g = 0; g < 3; ++g) {
        const QComboBox* box = widgets_.GroupChimeBoxes[g];
        counts[g] = box ? box->count() : 0;
    }
    return counts;
}

int CasualController::PickOther(int group) {
    const QComboBox* box = widgets_.GroupChimeBoxes.at(group);
    return orvane::PickOther(box->count(), box->currentIndex(),
                             [this](int n) { return Random(n); });
}

void CasualController::nGeneratorClick() {
    if (bells_.Bells.SetSize() < kMinimumSetSize) {
        return;
    }
    // Without a study chime to choose no combination can ever be drawn.
    if (!CanDrawCombination(SelectedCombination(), EntryCounts())) {
        return;
    }
    if (frmSelSound_) {
        frmSelSound_->cbRound->setChecked(false);
    }
    player_.RequestCasualMode();
    DrawCombination();
}

Combination CasualController::PrepareNextCombination() {
    const Combination current = SelectedCombination();
    prepared_ =
        orvane::DrawCombination(current, EntryCounts(), [this](int n) { return Random(n); })
            .value_or(current);
    return *prepared_;
}

void CasualController::Apply(const Combination& next) {
    const Combination current = SelectedCombination();
    for (int g = 0; g < 3; ++g) {
        if (next[g] == current[g]) {
            continue;
        }
        QComboBox* box = widgets_.GroupChimeBoxes[g];
        {
            const QSignalBlocker blocker(box);
            box->setCurrentIndex(next[g]);
        }
        library_.GroupChimeChange(g);
    }
}

void CasualController::DrawCombination() {
    if (prepared_) {
        const Combination next = *prepared_;
        prepared_.reset();
        Apply(next);
    } else if (const std::optional<Combination> next = orvane::DrawCombination(
                   SelectedCombination(), EntryCounts(), [this](int n) { return Random(n); })) {
        Apply(*next);
    }
    if (!player_.Playing()) {
        player_.btnPlayClick();
    }
}

}  // namespace orvane
