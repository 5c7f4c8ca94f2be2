#include "sound/ui/InstrumentController.h"

#include "app/core/Guard.h"
#include "app/core/IniFile.h"
#include "app/core/ProgramData.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/TBellData.h"
#include "recorder/core/RecorderModel.h"
#include "sound/core/AudioEngine.h"
#include "sound/core/MidiInput.h"
#include "sound/core/TransportKeys.h"
#include "sound/ui/KeyHook.h"
#include "sound/ui/TfrmKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QHelpEvent>
#include <QToolButton>
#include <QToolTip>
#include <chrono>
#include <optional>

namespace orvane {

namespace {

const QString kKeysSection = QStringLiteral("Keys");
const QString kLabelsKey = QStringLiteral("Labels");

// The tool button that does what a transport item does: "nPlay" -> "btnPlay".
QString ButtonOf(const char* item) {
    return QStringLiteral("btn") + QString::fromLatin1(item + 1);
}

}  // namespace

InstrumentController::InstrumentController(QWidget& window, InstrumentWidgets widgets, ProgramData& data,
                                           BellSetModel& bells, RecorderModel& record,
                                           KeyHook& keyHook, AudioEngine& engine)
    : window_(window),
      widgets_(widgets),
      data_(data),
      bells_(bells),
      record_(record),
      keyHook_(keyHook),
      engine_(engine),
      labels_({widgets.Strip}) {}

InstrumentController::~InstrumentController() {
    if (midi_) {
        midi_->Stop();
    }
    keyHook_.SetKeyMap(nullptr);
}

void InstrumentController::Start(bool midi) {
    if (started_) {
        return;
    }
    started_ = true;
    bool labels = true;
    if (data_.Settings) {
        keys_.Read(*data_.Settings);
        notes_.Read(*data_.Settings);
        labels = data_.Settings->ReadBool(kKeysSection, kLabelsKey, true);
    }
    keyHook_.SetKeyMap(&keys_);
    labels_.Build();
    labels_.SetVisible(labels);
    widgets_.nViewKeyLabels->setChecked(labels);
    RefreshLabels();
    ApplyShortcuts();
    Wire(widgets_.nKeys, &QAction::triggered, this, &InstrumentController::nKeysClick);
    Wire(widgets_.nViewKeyLabels, &QAction::triggered, this,
         &InstrumentController::nViewKeyLabelsClick);
    if (midi) {
        snapshot_.SetNotes(notes_);
        PublishEnabled();
        connect(&record_, &RecorderModel::KeysEnabledChanged, this,
                [this] { Guarded([this] { PublishEnabled(); }); });
        connect(&bells_, &BellSetModel::BellsChanged, this,
                [this] { Guarded([this] { PublishSounds(); }); });
        // The sound folder changes in the click's own handler: the bells' sounds are taken
        // again once it has run, and meanwhile strokes go through the window.
        connect(widgets_.cbStereo, &QCheckBox::clicked, this, [this] {
            snapshot_.ClearSounds();
            QMetaObject::invokeMethod(
                this, [this] { Guarded([this] { PublishSounds(); }); }, Qt::QueuedConnection);
        });
        midi_ = std::make_unique<MidiInput>();
        midi_->SetNoteHook(
            [this](int note, int velocity, qint64) { return StrikeFromInput(note, velocity); });
        // Both signals come from other threads: queued onto this one.
        connect(midi_.get(), &MidiInput::NoteOn, this, &InstrumentController::NoteOn,
                Qt::QueuedConnection);
        connect(
            midi_.get(), &MidiInput::PortsChanged, this,
            [this] {
                Guarded([this] {
                    RefreshLabels();
                    PublishSounds();
                });
            },
            Qt::QueuedConnection);
        midi_->Start();
    }
}

bool InstrumentController::StrikeFromInput(int note, int velocity) {
    const InstrumentSnapshot::Stroke stroke = snapshot_.Decide(note, velocity);
    return stroke.sound >= 0 && engine_.InstrumentStrike(stroke.sound, stroke.gain);
}

void InstrumentController::PublishEnabled() {
    snapshot_.SetEnabled(record_.KeysEnabled && !dialog_);
}

void InstrumentController::PublishSounds() {
    if (!midi_ || midi_->OpenPorts().isEmpty() || !data_.BellData) {
        snapshot_.ClearSounds();
        return;
    }
    for (int bell = 0; bell < TBellData::kBellCount; ++bell) {
        int sound = -1;
        if (bells_.Bells.inSet[std::size_t(bell)]) {
            // The path a strike opens (VoiceController::StrikeBell), so that both share the sound.
            const QString path = data_.AppPath.SoundDir + data_.BellData->SoundFile(bell);
            sound = engine_.KeepInstrumentSound(path);
        }
        snapshot_.SetSound(bell, sound);
    }
}

QStringList InstrumentController::CatalogueKeys() const {
    return data_.BellData ? data_.BellData->Columns[TBellData::kKey] : QStringList();
}

void InstrumentController::NoteOn(int note, int velocity, qint64 arrival, bool sounded) {
    Guarded([&] {
        ++notesReceived_;
        const float gain = MidiNoteMap::VelocityGain(velocity);
        if (!(gain > 0.0f)) {
            return;
        }
        std::optional<std::chrono::steady_clock::time_point> at;
        if (arrival >= 0) {
            at = std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(arrival));
        }
        const int bell = notes_.BellOfNote(note);
        if (sounded) {
            // It rang: what the window does for a stroke follows, whatever changed since.
            keyHook_.InstrumentStruck(bell, at);
            return;
        }
        if (dialog_ && dialog_->isVisible()) {
            dialog_->AssignNote(note);
            return;
        }
        if (bell >= 0) {
            keyHook_.InstrumentStrike(bell, gain, at);
        }
    });
}

void InstrumentController::nKeysClick() {
    if (dialog_) {
        dialog_->raise();
        return;
    }
    QStringList names;
    if (data_.BellData) {
        names = data_.BellData->Columns[TBellData::kName];
    }
    auto* dialog = new TfrmKeys(&window_, names, CatalogueKeys(), keys_, notes_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog_ = dialog;
    // The keys typed into the dialog choose keys; they ring nothing.
    keptKeysEnabled_ = record_.KeysEnabled;
    record_.KeysEnabled = false;
    PublishEnabled();
    connect(dialog, &QDialog::finished, this,
            [this](int result) { Guarded([&] { DialogClosed(result); }); });
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

void InstrumentController::DialogClosed(int result) {
    record_.KeysEnabled = keptKeysEnabled_;
    if (!dialog_) {
        PublishEnabled();
        return;
    }
    if (result == QDialog::Accepted) {
        keys_ = dialog_->Keys();
        notes_ = dialog_->Notes();
        snapshot_.SetNotes(notes_);
        Store();
        ApplyShortcuts();
        RefreshLabels();
    }
    dialog_ = nullptr;
    PublishEnabled();
}

void InstrumentController::Store() {
    if (!data_.Settings) {
        return;
    }
    // A failed write leaves the maps in use for this run only.
    keys_.Write(*data_.Settings);
    notes_.Write(*data_.Settings);
}

void InstrumentController::nViewKeyLabelsClick() {
    const bool on = widgets_.nViewKeyLabels->isChecked();
    labels_.SetVisible(on);
    if (data_.Settings) {
        data_.Settings->WriteBool(kKeysSection, kLabelsKey, on);
    }
}

void InstrumentController::ApplyShortcuts() {
    const QStringList catalogue = CatalogueKeys();
    for (const TransportKey& t : kTransportKeys) {
        auto* item = window_.findChild<QAction*>(QString::fromLatin1(t.item));
        if (!item) {
            continue;
        }
        bool bellKey = false;
        for (int bell = 0; bell < KeyMap::kBellCount; ++bell) {
            bellKey = bellKey || keys_.KeyOf(bell, catalogue) == t.virtualKey;
        }
        const int qtKey = Qt::Key_F1 + (t.virtualKey - kVkF1);
        item->setShortcut(bellKey ? QKeySequence() : QKeySequence(qtKey));
        if (auto* button = window_.findChild<QToolButton*>(ButtonOf(t.item))) {
            button->setProperty("orvaneShortcut",
                                item->shortcut().toString(QKeySequence::NativeText));
            button->removeEventFilter(this);
            button->installEventFilter(this);
        }
    }
}

void InstrumentController::RefreshLabels() {
    const QStringList catalogue = CatalogueKeys();
    const bool midiOpen = midi_ && !midi_->OpenPorts().isEmpty();
    QStringList keyNames;
    QStringList notes;
    for (int bell = 0; bell < KeyMap::kBellCount; ++bell) {
        keyNames.append(KeyMap::KeyName(keys_.KeyOf(bell, catalogue)));
        if (midiOpen) {
            notes.append(StripKeyLabels::NoteName(notes_.NoteOf(bell)));
        }
    }
    labels_.Build();
    labels_.SetTexts(keyNames, notes);
}

bool InstrumentController::eventFilter(QObject* watched, QEvent* event) {
    // The hint of a transport button names its shortcut; the button's own hint text is kept.
    if (event->type() == QEvent::ToolTip) {
        auto* button = qobject_cast<QToolButton*>(watched);
        const QString shortcut = button ? button->property("orvaneShortcut").toString() : QString();
        if (button && !shortcut.isEmpty() && !button->toolTip().isEmpty()) {
            const auto* help = static_cast<QHelpEvent*>(event);
            QToolTip::showText(help->globalPos(),
                               button->toolTip() + QStringLiteral(" (") + shortcut + u')', button);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace orvane
