#include "chime/ui/LibraryController.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/MainCaption.h"
#include "app/core/ProgramData.h"
#include "app/core/TextFile.h"
#include "app/ui/TSlider.h"
#include "catalogue/core/TSoundData.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/ui/GroupsController.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/TChannels.h"
#include "chime/core/Transport.h"
#include "chime/core/TransportModel.h"
#include "chime/ui/PlayerController.h"
#include "chime/ui/TfrmSelSound.h"
#include "score/ui/ScoreController.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QThread>

namespace orvane {

namespace {

// The pause of the common chime list after a choice, in milliseconds.
constexpr unsigned long kCommonChoicePauseMs = 150;

void SelectSilently(QComboBox* box, int index) {
    if (box) {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(index);
    }
}

}  // namespace

QString LibraryController::ChimeCaption(const QString& name) {
    return QString::fromLatin1(kProgramTitle) + QStringLiteral(" - ") + name;
}

QString LibraryController::DialogCaption() {
    return QString::fromLatin1(kProgramTitle) +
           QStringLiteral("-Hollin`s school of the bell ringers");
}

LibraryController::LibraryController(QWidget& window, LibraryWidgets widgets, ProgramData& data, const TransportModel& transport, const std::unique_ptr<TfrmSelSound>& frmSelSound, PlayerController& player, ScoreController& score, GroupsController& groups, BellSetController& bellSet)
    : window_(window), widgets_(widgets), data_(data), transport_(transport), frmSelSound_(frmSelSound), player_(player), score_(score), groups_(groups), bellSet_(bellSet) {}

void LibraryController::Connect() {
    const LibraryWidgets& f = widgets_;
    Wire(f.cbCommon, &QComboBox::activated, this, &LibraryController::cbCommonChange);
    for (int g = 0; g < 3; ++g) {
        if (QComboBox* box = widgets_.GroupChimeBoxes[g]) {
            Wire(box, &QComboBox::activated, this, [this, g] { GroupChimeChange(g); });
        }
    }
    Wire(f.nLoadSounds, &QAction::triggered, this, &LibraryController::nLoadSoundsClick);
}

void LibraryController::ConnectDialog() {
    TfrmSelSound* dialog = frmSelSound_.get();
    if (dialogConnected_ || !dialog) {
        return;
    }
    dialogConnected_ = true;
    Wire(dialog->lbSounds, &QListWidget::itemClicked, this, &LibraryController::lbSoundsClick);
    connect(dialog->lbSounds, &QListWidget::currentRowChanged, this, [this](int) {
        // Keyboard moves in the list show the description as a click does.
        if (frmSelSound_->isVisible()) {
            Guarded([&] { lbSoundsClick(); });
        }
    });
    Wire(dialog->btnLoad, &QPushButton::clicked, this, &LibraryController::btnLoadClick);
}

void LibraryController::ForgetLastChime() {
    lastCommon_ = 0;
    savedPosition_ = 0;
}

bool LibraryController::ScoreShown() const {
    return widgets_.cbShowNotes->isChecked();
}

void LibraryController::UncheckPlayAll() {
    if (frmSelSound_) {
        frmSelSound_->cbRound->setChecked(false);
    }
}

void LibraryController::SelectEntry0Everywhere() {
    SelectSilently(widgets_.cbCommon, 0);
    for (QComboBox* box : widgets_.GroupChimeBoxes) {
        SelectSilently(box, 0);
    }
}

void LibraryController::LoadScore(int target, const QString& path) {
    LoadChimeScore(*data_.Channels, target, path, player_.ScoreObserver());
}

// ---- Whole chimes ----

void LibraryController::cbCommonChange(int index) {
    const LibraryWidgets& f = widgets_;
    f.cbCommon->setEnabled(false);
    QThread::msleep(kCommonChoicePauseMs);
    f.cbCommon->setEnabled(true);
    f.cbCommon->setFocus();
    savedPosition_ = transport_.StepPosition;
    const int saved = savedPosition_;
    if (index <= 0) {
        window_.setWindowTitle(DefaultMainCaption());
        player_.ResetPlayer();
        player_.ShowPage(1);
        f.udPage->setEnabled(false);
        f.edPage->setEnabled(false);
    } else {
        window_.setWindowTitle(ChimeCaption(f.cbCommon->itemText(index)));
        player_.RequestStudyMode(false);
        for (QComboBox* box : widgets_.GroupChimeBoxes) {
            SelectSilently(box, 0);
        }
        player_.ResetPlayer();
        const QStringList& playable = data_.SoundData->Playable[TSoundData::kCommon];
        LoadScore(kWholeChime, data_.AppPath.ChimeDir + playable.at(index - 1));
        const int count = static_cast<int>(data_.Channels->Steps.size());
        const int pages = WholeChimePageCount(count);
        f.udPage->setMaximum(pages);
        player_.ShowPage(1);
        f.udPage->setEnabled(pages >= 2);
        f.edPage->setEnabled(pages >= 2);
        if (index == lastCommon_ && count > saved) {
            // The same chime again: go on where it was.
            player_.RequestPosition(saved);
            player_.RequestPage(PageOf(saved));
            f.tbProgress->SetMax(count - 1);
            f.tbProgress->SetPosition(saved);
            player_.ShowPage(transport_.CurrentPage + 1);
            if (ScoreShown()) {
                player_.PlaceMarkers();
            }
        }
    }
    f.tbProgress->SetMax(static_cast<int>(data_.Channels->Steps.size()) - 1);
    lastCommon_ = index;
    UncheckPlayAll();
    if (ScoreShown()) {
        score_.RedrawScore();
    }
}

// ---- Study chimes ----

void LibraryController::GroupChimeChange(int group) {
    const LibraryWidgets& f = widgets_;
    QComboBox* box = widgets_.GroupChimeBoxes.at(group);
    if (!box) {
        return;
    }
    const int index = box->currentIndex();
    window_.setWindowTitle(DefaultMainCaption());
    if (index >= 1) {
        SelectSilently(f.cbCommon, 0);
        if (!transport_.StudyMode) {
            player_.RequestStudyMode(true);
            player_.SetKeepCasual();
            player_.ResetPlayer();
        }
        LoadScore(group, data_.AppPath.ChimeDir + data_.SoundData->Playable[group].at(index - 1));
    } else {
        data_.Channels->GroupSteps(group).clear();
        MergeGroups(*data_.Channels);
    }
    f.udPage->setMaximum(2);
    f.udPage->setEnabled(true);
    f.edPage->setEnabled(true);
    player_.ShowPage(1);
    player_.RequestPage(0);
    if (ScoreShown()) {
        score_.RedrawScore();
    }
    f.tbProgress->SetMax(static_cast<int>(data_.Channels->Steps.size()) - 2);
    UncheckPlayAll();
    player_.StepListChanged();
}

// ---- Custom chimes ----

void LibraryController::nLoadSoundsClick() {
    player_.ResetPlayer();
    window_.setWindowTitle(DialogCaption());
    SelectEntry0Everywhere();
    ConnectDialog();
    TfrmSelSound& dialog = *frmSelSound_;
    QStringList names;
    if (!ReadTextLines(data_.AppPath.CustomDir + QStringLiteral("list.kli"), names)) {
        return;
    }
    {
        const QSignalBlocker blocker(dialog.lbSounds);
        dialog.lbSounds->clear();
        dialog.lbSounds->addItems(names);
        dialog.mDesc->clear();
        if (!names.isEmpty()) {
            dialog.lbSounds->setCurrentRow(0);
        }
    }
    if (!names.isEmpty()) {
        lbSoundsClick();
    }
    UncheckPlayAll();
    dialog.exec();
}

void LibraryController::lbSoundsClick() {
    TfrmSelSound& dialog = *frmSelSound_;
    const QListWidgetItem* item = dialog.lbSounds->currentItem();
    if (!item) {
        return;
    }
    TChannels& channels = *data_.Channels;
    channels.RawLines.clear();
    ReadTextLines(CustomChimePath(data_.AppPath.CustomDir, item->text()), channels.RawLines);
    if (const std::optional<QString> text = CustomChimeDescription(channels.RawLines)) {
        dialog.mDesc->setPlainText(*text);
    }
}

QStringList LibraryController::CombinationSteps(const Combination& combination) const {
    class Quiet final : public ChimeScoreObserver {
        void ClearGroupFrames(QChar) override {}
        void ShowTempo() override {}
        void ShowTotalDuration() override {}
    } quiet;
    TChannels scratch = *data_.Channels;
    for (int g = 0; g < 3; ++g) {
        const QStringList& playable = data_.SoundData->Playable[g];
        const int index = combination[g];
        if (index >= 1 && index - 1 < playable.size()) {
            LoadChimeScore(scratch, g, data_.AppPath.ChimeDir + playable.at(index - 1), quiet);
        } else {
            scratch.GroupSteps(g).clear();
            MergeGroups(scratch);
        }
    }
    return scratch.Steps;
}

std::optional<CustomChime> LibraryController::ReadNextCustomChime() const {
    const QListWidget* list = frmSelSound_ ? frmSelSound_->lbSounds : nullptr;
    if (!list || list->count() == 0) {
        return std::nullopt;
    }
    return ReadCustomChime(list->item((list->currentRow() + 1) % list->count()));
}

std::optional<CustomChime> LibraryController::ReadSelectedCustomChime() const {
    return ReadCustomChime(frmSelSound_->lbSounds->currentItem());
}

std::optional<CustomChime> LibraryController::ReadCustomChime(const QListWidgetItem* item) const {
    if (!item) {
        return std::nullopt;
    }
    QStringList lines;
    if (!ReadTextLines(CustomChimePath(data_.AppPath.CustomDir, item->text()), lines)) {
        return std::nullopt;
    }
    return ParseCustomChime(lines);
}

void LibraryController::LoadCustomChime(const CustomChime& chime) {
    const LibraryWidgets& f = widgets_;
    window_.setWindowTitle(ChimeCaption(chime.name));
    // A custom chime is a whole chime: its end stops the player or goes on to the next one.
    player_.RequestStudyMode(false);
    bellSet_.DeselectAllBells();
    data_.Settings->WriteString(QStringLiteral("Serial"), QStringLiteral("Bells"), chime.bells);
    data_.Settings->WriteString(QStringLiteral("Serial"), QStringLiteral("Types"), chime.types);
    WriteTextLines(data_.AppPath.TempScoreFile, chime.score);
    bellSet_.LoadStoredBellSet();
    // The totals follow the chime's own bell set (the set was emptied above).
    Guarded([&] { groups_.RefreshTotals(); });
    LoadScore(kWholeChime, data_.AppPath.TempScoreFile);
    const int count = static_cast<int>(data_.Channels->Steps.size());
    const int pages = CustomChimePageCount(count);
    f.udPage->setMaximum(pages);
    player_.ShowPage(1);
    f.udPage->setEnabled(pages >= 2);
    f.edPage->setEnabled(pages >= 2);
    if (ScoreShown()) {
        score_.RedrawScore();
    }
    f.tbProgress->SetMax(count);
    const int entry = f.cbCommon->findText(chime.name, Qt::MatchExactly);
    if (entry > 0) {
        SelectSilently(f.cbCommon, entry);
    }
}

void LibraryController::btnLoadClick() {
    const std::optional<CustomChime> chime = ReadSelectedCustomChime();
    if (!chime) {
        return;  // not a custom chime file: the bell set and the settings stay as they are
    }
    LoadCustomChime(*chime);
    player_.btnPlayClick();
    frmSelSound_->close();
}

void LibraryController::LoadNextCustomChime() {
    const std::optional<CustomChime> chime = ReadSelectedCustomChime();
    if (!chime) {
        return;
    }
    LoadCustomChime(*chime);
    player_.StartTimer();
}

}  // namespace orvane
