#pragma once

#include "chime/core/CasualDraw.h"
#include "chime/ui/CombinationSource.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <random>

class QAction;
class QComboBox;
class QToolButton;

namespace orvane {

class BellSetModel;
class LibraryController;
class PlayerController;
class TfrmSelSound;

// Casual play's widgets.
// Filled from the main window's form by CasualWidgetsOf (app/ui/ControllerWidgets.h).
struct CasualWidgets {
    QAction* nGenerator;
    QToolButton* btnGenerator;
    // Entries selected here; created and filled by the bell set.
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;
};

// Casual reproduction: endless random combinations of study chimes, one group changing after
// every pass. Random numbers come from the main window's generator. Lives on the
// user-interface thread, owned by the main window.
class CasualController : public QObject, public CombinationSource {
    Q_OBJECT

public:
    // The smallest bell set that casual reproduction plays on.
    static constexpr int kMinimumSetSize = 5;

    CasualController(CasualWidgets widgets, BellSetModel& bells, std::mt19937& rng, const std::unique_ptr<TfrmSelSound>& frmSelSound, PlayerController& player, LibraryController& library);

    // Connects btnGenerator and the menu item nGenerator.
    void Connect();

    // "Casual reproduction": with at least five bells and a study chime to choose, turns casual
    // mode on and draws a combination; otherwise does nothing.
    void nGeneratorClick();
    // Chooses and applies a new combination, then plays it if the timer is not running. Keeps
    // the combination when no other one can be drawn.
    void DrawCombination() override;
    // Draws the combination of the next pass ahead of the pass end, without applying it (the
    // current one when no other can be drawn); DrawCombination then applies it.
    Combination PrepareNextCombination() override;
    // A random entry of group chime list group other than the selected one.
    int PickOther(int group);

    // The selected entry of each group chime list, and their entry counts.
    Combination SelectedCombination() const;
    Combination EntryCounts() const;

private:
    int Random(int n);
    void Apply(const Combination& next);

    const CasualWidgets widgets_;
    BellSetModel& bells_;
    std::mt19937& rng_;
    const std::unique_ptr<TfrmSelSound>& frmSelSound_;
    PlayerController& player_;
    LibraryController& library_;
    std::optional<Combination> prepared_;
};

}  // namespace orvane
