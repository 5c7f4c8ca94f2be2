#pragma once

#include "sound/core/KeyMap.h"
#include "sound/core/MidiNoteMap.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QTableWidget;

namespace orvane {

// The "Keys ..." dialog: the fifteen bells with their key and MIDI note. A click on a row
// chooses a bell; the next key pressed (or MIDI note played, through AssignNote) becomes its
// key (or note). A key or note that another bell has, or a key kept for the program's own use,
// is refused with the reason shown; rows whose keys clash (a hand-edited catalogue) are marked.
// "Defaults" brings back the catalogue's keys and the default notes. The maps are only given
// back; the caller stores them when the dialog is accepted. User-interface thread only.
class TfrmKeys : public QDialog {
    Q_OBJECT

public:
    // bellNames and catalogueKeys: the catalogue's name and key columns.
    TfrmKeys(QWidget* parent, const QStringList& bellNames, const QStringList& catalogueKeys,
             const KeyMap& keys, const MidiNoteMap& notes);

    const KeyMap& Keys() const { return keys_; }
    const MidiNoteMap& Notes() const { return notes_; }
    // The chosen bell, -1 for none.
    int SelectedBell() const;
    void SelectBell(int bell);

    // A key press (virtual-key code) while a bell is chosen: true when it was assigned.
    bool AssignKey(int key);
    // A MIDI note-on while a bell is chosen: true when it was assigned.
    bool AssignNote(int note);
    // The catalogue's keys and the default notes.
    void RestoreDefaults();

    // The line under the table: the prompt, or why the last key or note was refused.
    QString Status() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    QString BellText(int bell) const;

    QStringList names_;
    QStringList catalogue_;
    KeyMap keys_;
    MidiNoteMap notes_;
    QTableWidget* table_;
    QLabel* status_;
    QPushButton* defaults_;
};

}  // namespace orvane
