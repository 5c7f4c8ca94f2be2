#pragma once

#include <array>

namespace orvane {

// The keyboard shortcuts of the transport items of the "Player" menu, as Windows virtual-key
// codes of function keys (F3 = 114 to F12 = 123). F1 is Help; F2 and F10 stay free (F10 opens
// the menu bar on many desktops). A shortcut whose key is also a bell's key is not given to its
// item: the key rings the bell, as bell keys always have.
struct TransportKey {
    const char* item;  // objectName of the menu item
    int virtualKey;
};

inline constexpr std::array<TransportKey, 9> kTransportKeys{{
    {"nVolumeDown", 114},  // F3
    {"nVolumeUp", 115},    // F4
    {"nPlay", 116},        // F5
    {"nPause", 117},       // F6
    {"nStop", 118},        // F7
    {"nRew", 119},         // F8
    {"nFF", 120},          // F9
    {"nTempDown", 122},    // F11
    {"nTempUp", 123},      // F12
}};

// The virtual-key code of function key F1.
inline constexpr int kVkF1 = 112;

}  // namespace orvane
