#pragma once

#include "sound/core/InstrumentSnapshot.h"
#include "sound/core/KeyMap.h"
#include "sound/core/MidiNoteMap.h"
#include "sound/ui/StripKeyLabels.h"
#include "sound/ui/TfrmKeys.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class QAction;
class QCheckBox;
class QWidget;

namespace orvane {

class AudioEngine;
class BellSetModel;
class KeyHook;
class TImage;
class MidiInput;
struct ProgramData;
class RecorderModel;

// The instrument controls' widgets.
// Filled from the main window's form by InstrumentWidgetsOf (app/ui/ControllerWidgets.h).
struct InstrumentWidgets {
    QAction* nKeys;
    QAction* nViewKeyLabels;
    QCheckBox* cbStereo;  // read only: its click takes the sounds again
    QList<QPointer<TImage>>& Strip;  // read only, by the key labels; written by the strip controller
};

// The instrument controls: the keys and MIDI notes the user chose (settings sections [Keys]
// and [Midi]), MIDI input, the "Keys ..." dialog, the key labels on the strip and the keyboard
// shortcuts of the transport items.
//
// A MIDI note-on sounds at once from the MIDI input's own thread: the engine starts the bell's
// voice at the next audio buffer (StrikeFromInput), at the gain of its velocity, as this
// controller has published what a stroke may ring (InstrumentSnapshot: strokes enabled, the
// note map, the kept sound of every bell in the set). The window's part follows as a queued
// call carrying the note's arrival time: the bell becomes current, the recorder marks it, the
// stroke is reported and animated (KeyHook::InstrumentStruck). A stroke the input thread did not
// sound (no sound kept for its bell yet, no device, a full command ring) strikes there through
// the key hook's own strike (KeyHook::InstrumentStrike), which applies every rule again. With
// neither [Keys] nor [Midi] in the settings, the keys of the bell catalogue ring as they always
// have. Lives on the user-interface thread, owned by the main window; Start runs once the strip
// exists, and the destructor stops MIDI input before anything it strikes through goes.
class InstrumentController : public QObject {
    Q_OBJECT

public:
    InstrumentController(QWidget& window, InstrumentWidgets widgets, ProgramData& data, BellSetModel& bells,
                         RecorderModel& record, KeyHook& keyHook, AudioEngine& engine);
    ~InstrumentController() override;

    // Reads the user's keys, notes and the labels switch, gives the key map to the hook, puts
    // the labels on the strip and the shortcuts on the menu items, connects the menu items and
    // opens MIDI input. midi: false leaves MIDI input closed (for tests that need none).
    void Start(bool midi = true);

    // The "Keys ..." menu item: opens the dialog (window-modal, not waiting); while it is open
    // no key rings a bell and a MIDI note is assigned instead of struck. Accepting it stores
    // the maps and applies them.
    void nKeysClick();
    // The "Key labels" menu item: shows or hides the labels; the state goes to [Keys] Labels.
    void nViewKeyLabelsClick();

    // A note-on from MIDI input (user-interface thread): strikes the bell of the note at the
    // gain of the velocity, or assigns the note in the open dialog. Velocity 0 does nothing.
    // arrival: when the note came in (steady clock, nanoseconds since its epoch), the stroke's
    // time; below 0 when not known (the strike's own time is taken). sounded: StrikeFromInput
    // has already started its voice; only the window's part of the stroke is left.
    void NoteOn(int note, int velocity, qint64 arrival = -1, bool sounded = false);
    // Any thread (MIDI input's): starts the voice of the note's bell now when the published
    // state says that the note rings; true when it did. Never blocks or throws.
    bool StrikeFromInput(int note, int velocity);
    // What the input thread strikes from.
    const InstrumentSnapshot& Snapshot() const { return snapshot_; }

    // Puts the transport shortcuts on their menu items; an item whose key is a bell's key gets
    // none, so that the key keeps ringing its bell.
    void ApplyShortcuts();
    void RefreshLabels();

    const KeyMap& Keys() const { return keys_; }
    const MidiNoteMap& Notes() const { return notes_; }
    // Null until Start with MIDI.
    MidiInput* Midi() const { return midi_.get(); }
    StripKeyLabels& Labels() { return labels_; }
    // The open dialog, or null.
    TfrmKeys* KeysDialog() const { return dialog_; }
    // Note-ons that reached the user-interface thread.
    int NotesReceived() const { return notesReceived_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Store();
    QStringList CatalogueKeys() const;
    void DialogClosed(int result);
    // Publish to the input thread: whether strokes ring, and the kept sound of each bell (only
    // while a MIDI port is open: nothing is decoded for an input that has no port).
    void PublishEnabled();
    void PublishSounds();

    QWidget& window_;
    const InstrumentWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    RecorderModel& record_;
    KeyHook& keyHook_;
    AudioEngine& engine_;
    InstrumentSnapshot snapshot_;
    KeyMap keys_;
    MidiNoteMap notes_;
    StripKeyLabels labels_;
    std::unique_ptr<MidiInput> midi_;
    QPointer<TfrmKeys> dialog_;
    bool keptKeysEnabled_ = true;
    int notesReceived_ = 0;
    bool started_ = false;
};

}  // namespace orvane
