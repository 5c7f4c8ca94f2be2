#pragma once

#include "chime/core/CasualDraw.h"
#include "chime/core/CustomChime.h"
#include "chime/ui/ChimeLibrarySource.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <optional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidgetItem;
class QSpinBox;
class QWidget;

namespace orvane {

class BellSetController;
class GroupsController;
class TSlider;
class PlayerController;
struct ProgramData;
class ScoreController;
class TfrmSelSound;
class TransportModel;

// The chime library's widgets: it selects the entries of the chime lists, sets the page
// range and the progress range of a loaded chime.
// Filled from the main window's form by LibraryWidgetsOf (app/ui/ControllerWidgets.h).
struct LibraryWidgets {
    QAction* nLoadSounds;
    TSlider* tbProgress;  // range and saved position written here; otherwise written by the player
    QLineEdit* edPage;  // enabled here; disabled by the player, its text written by the score view
    QSpinBox* udPage;  // range and enabled written here; value written by the player and printing
    QComboBox* cbCommon;  // selected here; filled by the bell set
    QCheckBox* cbShowNotes;
    // Selected here; created and filled by the bell set, stepped by casual play.
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;
};

// The chime library: the common chime list cbCommon (whole chimes), the three group chime lists
// (study chimes played together), the chime selection dialog with the custom chimes and
// "Play all". Lives on the user-interface thread, owned by the main window.
class LibraryController : public QObject, public ChimeLibrarySource {
    Q_OBJECT

public:
    // The title prefix of a loaded chime, followed by its name.
    static QString ChimeCaption(const QString& name);
    // The title while the chime selection dialog is opened.
    static QString DialogCaption();

    LibraryController(QWidget& window, LibraryWidgets widgets, ProgramData& data, const TransportModel& transport, const std::unique_ptr<TfrmSelSound>& frmSelSound, PlayerController& player, ScoreController& score, GroupsController& groups, BellSetController& bellSet);

    // Connects cbCommon, the group chime lists and "Load chimes ...". The dialog, created
    // after the main window, is connected when it is first opened.
    void Connect();
    // Start-up: no common chime chosen yet, saved step position 0.
    void ForgetLastChime();

    // Entry index of cbCommon was chosen. Blocks the user-interface thread for 150 ms first.
    void cbCommonChange(int index);
    // The selected entry of group chime list group (0 small, 1 medium-size, 2 great) was
    // chosen, by the user or by the generator.
    void GroupChimeChange(int group);
    // "Load chimes ...": resets the player, fills the dialog and shows it modally.
    void nLoadSoundsClick();
    // The dialog: the description of the selected custom chime.
    void lbSoundsClick();
    // The dialog: loads the selected custom chime with its bell set, plays it, closes the
    // dialog.
    void btnLoadClick();
    // The playback tick at the end of a chime with "Play all" checked, after it selected the
    // next custom chime: loads it and enables the playback timer.
    void LoadNextCustomChime() override;
    // The custom chime of the entry after the selected one (after the last, the first), read
    // ahead so that "Play all" can go on without a gap; nothing as ReadSelectedCustomChime.
    std::optional<CustomChime> ReadNextCustomChime() const override;
    // The combined step list that choosing the study chimes of `combination` (entry indexes of
    // the three group chime lists, 0 for none) would give, without loading it.
    QStringList CombinationSteps(const Combination& combination) const override;

    int LastCommonIndex() const { return lastCommon_; }

private:
    std::optional<CustomChime> ReadCustomChime(const QListWidgetItem* item) const;
    // The selected custom chime file, checked: nothing when it cannot be read or is not a custom
    // chime file.
    std::optional<CustomChime> ReadSelectedCustomChime() const;
    // Loads a custom chime with its bell set, in the order the dialog's "Load" does it, up to
    // (not including) Play: title, bell set stored and applied, score, pages, progress, the
    // cbCommon entry of the same name.
    void LoadCustomChime(const CustomChime& chime);
    // Loads a chime score file into the main window's score.
    void LoadScore(int target, const QString& path);
    void ConnectDialog();
    void SelectEntry0Everywhere();
    void UncheckPlayAll();
    bool ScoreShown() const;

    QWidget& window_;
    const LibraryWidgets widgets_;
    ProgramData& data_;
    const TransportModel& transport_;
    const std::unique_ptr<TfrmSelSound>& frmSelSound_;
    PlayerController& player_;
    ScoreController& score_;
    GroupsController& groups_;
    BellSetController& bellSet_;
    int lastCommon_ = 0;
    int savedPosition_ = 0;
    bool dialogConnected_ = false;
};

}  // namespace orvane
