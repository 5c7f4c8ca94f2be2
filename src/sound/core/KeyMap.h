#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace orvane {

class IniFile;

// The keys that strike the bells, as the user chose them. Keys are Windows virtual-key codes
// of physical keys (VirtualKeyOf), so a map made with one keyboard layout rings the same keys
// in any other. The catalogue's key column (Data/desc.kli) is the default; the settings section
// [Keys] holds the user's keys, one per bell, "Bell0" to "Bell14", each a decimal code 1 to 254.
// A bell without a stored key keeps the catalogue's key, and with no stored key at all the
// catalogue's key column is used exactly as it stands, read at each key press.
// Plain value type; no thread of its own.
class KeyMap {
public:
    static constexpr int kBellCount = 15;
    static constexpr int kNoKey = 0;

    // Why a key cannot be given to a bell.
    enum class Refusal {
        kNone,
        kOtherBell,    // another bell has this key
        kReservedKey,  // a documented key (Space, the arrows, 1 to 3, F1) or a modifier
        kShortcutKey,  // the shortcut of a transport item
    };

    // The key column to search for a pressed key: the catalogue column itself when nothing is
    // stored, else the catalogue column with each stored key in its bell's place.
    QStringList KeyColumn(const QStringList& catalogueColumn) const;
    // The key of a bell in that column; kNoKey when the column's text is not a number.
    int KeyOf(int bell, const QStringList& catalogueColumn) const;

    // The stored key of a bell, kNoKey when it has none.
    int StoredKey(int bell) const;
    bool HasStoredKeys() const;
    // Stores a key for a bell; kNoKey forgets it. False for a bell or key out of range.
    bool SetKey(int bell, int key);
    // Forgets every stored key: the catalogue's keys hold again.
    void Clear() { stored_.fill(kNoKey); }

    // Whether `key` may become the key of `bell`; *other is set to the bell that has it.
    Refusal Check(int bell, int key, const QStringList& catalogueColumn,
                  int* other = nullptr) const;
    // True for the keys no bell may take: Space, the left and right arrows, the digits 1 to 3
    // and keypad 1 to 3, F1, the shifts, Ctrl, Alt, Tab, Enter and Escape.
    static bool IsReservedKey(int key);
    // True for the key of a transport shortcut.
    static bool IsShortcutKey(int key);

    // The text shown for a key: its letter or symbol on a US keyboard ("Z", ";"), "F5",
    // "Num 1", "Space", ...; "#<code>" for a code without a name; empty for kNoKey.
    static QString KeyName(int key);

    // Reads section [Keys]; keys out of range are ignored.
    void Read(const IniFile& ini);
    // Writes the stored keys to [Keys] and removes the bell keys that are not stored. False
    // when the file could not be written.
    bool Write(IniFile& ini) const;

    friend bool operator==(const KeyMap&, const KeyMap&) = default;

private:
    std::array<int, kBellCount> stored_{};
};

}  // namespace orvane
