#include "chime/ui/LibraryController.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/TextFile.h"
#include "app/ui/TfrmMain.h"
#include "catalogue/ui/GroupsController.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/core/TSoundData.h"
#include "chime/core/ChimeScore.h"
#include "chime/ui/PlayerController.h"
#include "chime/core/TChannels.h"
#include "chime/ui/TfrmSelSound.h"
#include "chime/core/Transport.h"
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
    return QString::fromLatin1(TfrmMain::kTitle) + QStringLiteral(" - ") + name;
}

QString LibraryController::DialogCaption() {
    return QString::fromLatin1(TfrmMain::kTitle) +
           QStringLiteral("-Hollin`s school of the bell ringers");
}

LibraryController::LibraryController(TfrmMain& main) : QObject(&main), main_(main) {}

void LibraryController::Connect() {
    MainForm& f = main_.form;
    connect(f.cbCommon, &QComboBox::activated, this,
            [this](int index) { Guarded([&] { cbCommonChange(index); }); });
    for (int g = 0; g < 3; ++g) {
        if (QComboBox* box = main_.GroupChimeBoxes[g]) {
            connect(box, &QComboBox::activated, this,
                    [this, g](int) { Guarded([&] { GroupChimeChange(g); }); });
        }
    }
    connect(f.nLoadSounds, &QAction::triggered, this,
            [this] { Guarded([&] { nLoadSoundsClick(); }); });
}

void LibraryController::ConnectDialog() {
    TfrmSelSound* dialog = main_.frmSelSound.get();
    if (dialogConnected_ || !dialog) {
        return;
    }
    dialogConnected_ = true;
    connect(dialog->lbSounds, &QListWidget::itemClicked, this,
            [this] { Guarded([&] { lbSoundsClick(); }); });
    connect(dialog->lbSounds, &QListWidget::currentRowChanged, this, [this](int) {
        // Keyboard moves in the list show the description as a click does.
        if (main_.frmSelSound->isVisible()) {
            Guarded([&] { lbSoundsClick(); });
        }
    });
    connect(dialog->btnLoad, &QPushButton::clicked, this,
            [this] { Guarded([&] { btnLoadClick(); }); });
}

void LibraryController::ForgetLastChime() {
    lastCommon_ = 0;
    savedPosition_ = 0;
}

bool LibraryController::ScoreShown() const {
    return main_.form.cbShowNotes->isChecked();
}

void LibraryController::UncheckPlayAll() {
    if (main_.frmSelSound) {
        main_.frmSelSound->cbRound->setChecked(false);
    }
}

void LibraryController::SelectEntry0Everywhere() {
    SelectSilently(main_.form.cbCommon, 0);
    for (QComboBox* box : main_.GroupChimeBoxes) {
        SelectSilently(box, 0);
    }
}

void LibraryController::LoadScore(int target, const QString& path) {
    LoadChimeScore(*main_.Channels, target, path, main_.player->ScoreObserver());
}

// ---- Whole chimes ----

void LibraryController::cbCommonChange(int index) {
    MainForm& f = main_.form;
    f.cbCommon->setEnabled(false);
    QThread::msleep(kCommonChoicePauseMs);
    f.cbCommon->setEnabled(true);
    f.cbCommon->setFocus();
    savedPosition_ = main_.StepPosition;
    const int saved = savedPosition_;
    if (index <= 0) {
        main_.setWindowTitle(TfrmMain::DefaultCaption());
        main_.player->ResetPlayer();
        main_.player->ShowPage(1);
        f.udPage->setEnabled(false);
        f.edPage->setEnabled(false);
    } else {
        main_.setWindowTitle(ChimeCaption(f.cbCommon->itemText(index)));
        main_.StudyMode = false;
        for (QComboBox* box : main_.GroupChimeBoxes) {
            SelectSilently(box, 0);
        }
        main_.player->ResetPlayer();
        const QStringList& playable = main_.SoundData->Playable[TSoundData::kCommon];
        LoadScore(kWholeChime, main_.AppPath.ChimeDir + playable.at(index - 1));
        const int count = static_cast<int>(main_.Channels->Steps.size());
        const int pages = WholeChimePageCount(count);
        f.udPage->setMaximum(pages);
        main_.player->ShowPage(1);
        f.udPage->setEnabled(pages >= 2);
        f.edPage->setEnabled(pages >= 2);
        if (index == lastCommon_ && count > saved) {
            // The same chime again: go on where it was.
            main_.StepPosition = saved;
            main_.CurrentPage = PageOf(saved);
            f.tbProgress->SetMax(count - 1);
            f.tbProgress->SetPosition(saved);
            main_.player->ShowPage(main_.CurrentPage + 1);
            if (ScoreShown()) {
                main_.player->PlaceMarkers();
            }
        }
    }
    f.tbProgress->SetMax(static_cast<int>(main_.Channels->Steps.size()) - 1);
    lastCommon_ = index;
    UncheckPlayAll();
    if (ScoreShown()) {
        main_.score->RedrawScore();
    }
}

// ---- Study chimes ----

void LibraryController::GroupChimeChange(int group) {
    MainForm& f = main_.form;
    QComboBox* box = main_.GroupChimeBoxes.at(group);
    if (!box) {
        return;
    }
    const int index = box->currentIndex();
    main_.setWindowTitle(TfrmMain::DefaultCaption());
    if (index >= 1) {
        SelectSilently(f.cbCommon, 0);
        if (!main_.StudyMode) {
            main_.StudyMode = true;
            main_.player->SetKeepCasual();
            main_.player->ResetPlayer();
        }
        LoadScore(group, main_.AppPath.ChimeDir + main_.SoundData->Playable[group].at(index - 1));
    } else {
        main_.Channels->GroupSteps(group).clear();
        MergeGroups(*main_.Channels);
    }
    f.udPage->setMaximum(2);
    f.udPage->setEnabled(true);
    f.edPage->setEnabled(true);
    main_.player->ShowPage(1);
    main_.CurrentPage = 0;
    if (ScoreShown()) {
        main_.score->RedrawScore();
    }
    f.tbProgress->SetMax(static_cast<int>(main_.Channels->Steps.size()) - 2);
    UncheckPlayAll();
}

// ---- Custom chimes ----

void LibraryController::nLoadSoundsClick() {
    main_.player->ResetPlayer();
    main_.setWindowTitle(DialogCaption());
    SelectEntry0Everywhere();
    ConnectDialog();
    TfrmSelSound& dialog = *main_.frmSelSound;
    QStringList names;
    if (!ReadTextLines(main_.AppPath.CustomDir + QStringLiteral("list.kli"), names)) {
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
    TfrmSelSound& dialog = *main_.frmSelSound;
    const QListWidgetItem* item = dialog.lbSounds->currentItem();
    if (!item) {
        return;
    }
    TChannels& channels = *main_.Channels;
    channels.RawLines.clear();
    ReadTextLines(CustomChimePath(main_.AppPath.CustomDir, item->text()), channels.RawLines);
    if (const std::optional<QString> text = CustomChimeDescription(channels.RawLines)) {
        dialog.mDesc->setPlainText(*text);
    }
}

std::optional<CustomChime> LibraryController::ReadSelectedCustomChime() const {
    const QListWidgetItem* item = main_.frmSelSound->lbSounds->currentItem();
    if (!item) {
        return std::nullopt;
    }
    QStringList lines;
    if (!ReadTextLines(CustomChimePath(main_.AppPath.CustomDir, item->text()), lines)) {
        return std::nullopt;
    }
    return ParseCustomChime(lines);
}

void LibraryController::LoadCustomChime(const CustomChime& chime) {
    MainForm& f = main_.form;
    main_.setWindowTitle(ChimeCaption(chime.name));
    // A custom chime is a whole chime: its end stops the player or goes on to the next one.
    main_.StudyMode = false;
    main_.bellSet->DeselectAllBells();
    main_.Settings->WriteString(QStringLiteral("Serial"), QStringLiteral("Bells"), chime.bells);
    main_.Settings->WriteString(QStringLiteral("Serial"), QStringLiteral("Types"), chime.types);
    WriteTextLines(main_.AppPath.TempScoreFile, chime.score);
    main_.bellSet->LoadStoredBellSet();
    // The totals follow the chime's own bell set (the set was emptied above).
    Guarded([&] { main_.groups->RefreshTotals(); });
    LoadScore(kWholeChime, main_.AppPath.TempScoreFile);
    const int count = static_cast<int>(main_.Channels->Steps.size());
    const int pages = CustomChimePageCount(count);
    f.udPage->setMaximum(pages);
    main_.player->ShowPage(1);
    f.udPage->setEnabled(pages >= 2);
    f.edPage->setEnabled(pages >= 2);
    if (ScoreShown()) {
        main_.score->RedrawScore();
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
    main_.player->btnPlayClick();
    main_.frmSelSound->close();
}

void LibraryController::LoadNextCustomChime() {
    const std::optional<CustomChime> chime = ReadSelectedCustomChime();
    if (!chime) {
        return;
    }
    LoadCustomChime(*chime);
    main_.player->StartTimer();
}

}  // namespace orvane
