#pragma once

#include <QKeyEvent>
#include <QStringList>
#include <array>

namespace orvane {

// Windows virtual-key codes of the keys the program acts on by code.
enum VirtualKeyCode : int {
    kVkNone = 0,
    kVkBack = 8,
    kVkTab = 9,
    kVkReturn = 13,
    kVkEscape = 27,
    kVkSpace = 32,
    kVkLeft = 37,
    kVkUp = 38,
    kVkRight = 39,
    kVkDown = 40,
    kVkNumpad0 = 96,
};

// The Windows virtual-key code of a key press, by the physical key, so that bells ring the same
// whichever keyboard layout is active (a Russian layout rings what the Latin one does).
// - With a native scan code (an X11 key code: the evdev code + 8, as the xcb and wayland
//   platforms report it), the key's position on a US keyboard decides; keypad digit keys give
//   96 to 105 when they type digits and their navigation code otherwise.
// - Without one (nativeScanCode() == 0, or a code outside the table), the Qt key decides, with
//   Qt::KeypadModifier turning digits into 96 to 105; Cyrillic letters map through the Russian
//   JCUKEN layout to the Latin key at the same position; shifted US symbols map to their key.
// kVkNone (0) for a key without a code.
int VirtualKeyOf(const QKeyEvent& event);

// The virtual-key code of an X11 key code, or kVkNone.
int VirtualKeyOfX11KeyCode(quint32 keyCode);

// The virtual-key code of a Qt key and its modifiers, or kVkNone.
int VirtualKeyOfQtKey(int key, Qt::KeyboardModifiers modifiers);

// The bell that a key rings: the first bell (0 to 14) whose key column reads as a number equal
// to keyCode and which is in the set. A key column that is not a number (or is missing) stops
// the search there. -1 for none, and for keyCode kVkNone.
int FindBellOfKey(int keyCode, const QStringList& keyColumn, const std::array<bool, 15>& inSet);

}  // namespace orvane
