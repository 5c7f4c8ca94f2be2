#include "sound/core/VirtualKey.h"

#include "app/core/Checked.h"

#include <QChar>
#include <utility>

namespace orvane {

namespace {

// X11 key code (evdev code + 8) and the virtual-key code of that position on a US keyboard.
// Keypad digit positions are handled apart: their code depends on what the key types.
// clang-format off
constexpr std::pair<quint32, int> kX11Keys[] = {
    {9, 27},                                                   // Escape
    {10, '1'}, {11, '2'}, {12, '3'}, {13, '4'}, {14, '5'},     // digit row
    {15, '6'}, {16, '7'}, {17, '8'}, {18, '9'}, {19, '0'},
    {20, 189}, {21, 187}, {22, 8}, {23, 9},                    // - = Backspace Tab
    {24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'},     // upper letter row
    {29, 'Y'}, {30, 'U'}, {31, 'I'}, {32, 'O'}, {33, 'P'},
    {34, 219}, {35, 221}, {36, 13}, {37, 17},                  // [ ] Enter LeftCtrl
    {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'}, {42, 'G'},     // middle letter row
    {43, 'H'}, {44, 'J'}, {45, 'K'}, {46, 'L'},
    {47, 186}, {48, 222}, {49, 192}, {50, 16}, {51, 220},      // ; ' ` LeftShift backslash
    {52, 'Z'}, {53, 'X'}, {54, 'C'}, {55, 'V'}, {56, 'B'},     // lower letter row
    {57, 'N'}, {58, 'M'},
    {59, 188}, {60, 190}, {61, 191}, {62, 16}, {63, 106},      // , . / RightShift keypad *
    {64, 18}, {65, 32}, {66, 20},                              // LeftAlt Space CapsLock
    {67, 112}, {68, 113}, {69, 114}, {70, 115}, {71, 116},     // F1 to F10
    {72, 117}, {73, 118}, {74, 119}, {75, 120}, {76, 121},
    {77, 144}, {78, 145}, {82, 109}, {86, 107},                // NumLock ScrollLock kp- kp+
    {94, 226}, {95, 122}, {96, 123},                           // 102nd key F11 F12
    {104, 13}, {105, 17}, {106, 111}, {107, 44}, {108, 18},    // kpEnter RCtrl kp/ Print RAlt
    {110, 36}, {111, 38}, {112, 33}, {113, 37}, {114, 39},     // Home Up PageUp Left Right
    {115, 35}, {116, 40}, {117, 34}, {118, 45}, {119, 46},     // End Down PageDown Ins Del
    {127, 19}, {133, 91}, {134, 92}, {135, 93},                // Pause LWin RWin Menu
};
// clang-format on

// X11 key codes of the keypad digit keys 0 to 9.
constexpr quint32 kX11KeypadDigits[10] = {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};
// X11 key code of the keypad decimal point (Delete while it does not type a point).
constexpr quint32 kX11KeypadDecimal = 91;

// Russian JCUKEN letters, upper case, and the US key at the same position.
constexpr std::pair<char16_t, int> kCyrillicKeys[] = {
    {u'Й', 'Q'}, {u'Ц', 'W'}, {u'У', 'E'}, {u'К', 'R'}, {u'Е', 'T'}, {u'Н', 'Y'}, {u'Г', 'U'},
    {u'Ш', 'I'}, {u'Щ', 'O'}, {u'З', 'P'}, {u'Х', 219}, {u'Ъ', 221}, {u'Ф', 'A'}, {u'Ы', 'S'},
    {u'В', 'D'}, {u'А', 'F'}, {u'П', 'G'}, {u'Р', 'H'}, {u'О', 'J'}, {u'Л', 'K'}, {u'Д', 'L'},
    {u'Ж', 186}, {u'Э', 222}, {u'Я', 'Z'}, {u'Ч', 'X'}, {u'С', 'C'}, {u'М', 'V'}, {u'И', 'B'},
    {u'Т', 'N'}, {u'Ь', 'M'}, {u'Б', 188}, {u'Ю', 190}, {u'Ё', 192},
};

// Qt keys of symbols, unshifted and shifted, and their US key.
constexpr std::pair<int, int> kSymbolKeys[] = {
    {Qt::Key_Semicolon, 186},    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},         {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},        {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},      {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},    {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},     {Qt::Key_Exclam, '1'},     {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},   {Qt::Key_Dollar, '4'},     {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},  {Qt::Key_Ampersand, '7'},  {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},    {Qt::Key_ParenRight, '0'},
};

// Qt keys of the keypad operators while Qt::KeypadModifier is set.
constexpr std::pair<int, int> kKeypadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

// Qt keys of the named keys.
constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9},   {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},  {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},      {Qt::Key_Pause, 19},  {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
    {Qt::Key_Home, 36},     {Qt::Key_Left, 37},   {Qt::Key_Up, 38},       {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},     {Qt::Key_Print, 44},  {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
    {Qt::Key_Meta, 91},     {Qt::Key_Menu, 93},   {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
};

template <class Table, class Key>
int Lookup(const Table& table, Key key) {
    for (const auto& [from, to] : table) {
        if (from == key) {
            return to;
        }
    }
    return kVkNone;
}

}  // namespace

int VirtualKeyOfX11KeyCode(quint32 keyCode) {
    return Lookup(kX11Keys, keyCode);
}

int VirtualKeyOfQtKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return keypad ? kVkNumpad0 + (key - Qt::Key_0) : key;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 112 + (key - Qt::Key_F1);
    }
    if (keypad) {
        if (const int code = Lookup(kKeypadKeys, key); code != kVkNone) {
            return code;
        }
    }
    if (const int code = Lookup(kNamedKeys, key); code != kVkNone) {
        return code;
    }
    if (const int code = Lookup(kSymbolKeys, key); code != kVkNone) {
        return code;
    }
    if (key > 0 && key <= 0xFFFF) {
        const char16_t upper = QChar(char16_t(key)).toUpper().unicode();
        return Lookup(kCyrillicKeys, upper);
    }
    return kVkNone;
}

int VirtualKeyOf(const QKeyEvent& event) {
    const quint32 scanCode = event.nativeScanCode();
    if (scanCode != 0) {
        for (int digit = 0; digit < 10; ++digit) {
            if (scanCode == kX11KeypadDigits[digit]) {
                // With NumLock on the key types its digit; otherwise it is a navigation key.
                if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9) {
                    return kVkNumpad0 + digit;
                }
                return VirtualKeyOfQtKey(event.key(), Qt::NoModifier);
            }
        }
        if (scanCode == kX11KeypadDecimal) {
            return event.key() == Qt::Key_Delete ? 46 : 110;
        }
        if (const int code = VirtualKeyOfX11KeyCode(scanCode); code != kVkNone) {
            return code;
        }
    }
    return VirtualKeyOfQtKey(event.key(), event.modifiers());
}

int FindBellOfKey(int keyCode, const QStringList& keyColumn, const std::array<bool, 15>& inSet) {
    if (keyCode == kVkNone) {
        return -1;
    }
    for (int bell = 0; bell < int(inSet.size()); ++bell) {
        try {
            if (StrToInt(At(keyColumn, bell)) == keyCode && inSet[std::size_t(bell)]) {
                return bell;
            }
        } catch (const std::exception&) {
            return -1;
        }
    }
    return -1;
}

}  // namespace orvane
