#include "sound/core/KeyMap.h"

#include "app/core/Checked.h"
#include "app/core/IniFile.h"
#include "sound/core/TransportKeys.h"
#include "sound/core/VirtualKey.h"

#include <utility>

namespace orvane {

namespace {

const QString kSection = QStringLiteral("Keys");

QString BellKey(int bell) {
    return QStringLiteral("Bell") + QString::number(bell);
}

bool ValidKey(int key) {
    return key > 0 && key < 255;
}

// Names of the keys whose code is not their character.
constexpr std::pair<int, const char*> kKeyNames[] = {
    {8, "Backspace"},     {9, "Tab"},     {13, "Enter"},     {16, "Shift"},  {17, "Ctrl"},
    {18, "Alt"},          {19, "Pause"},  {20, "Caps Lock"}, {27, "Esc"},    {32, "Space"},
    {33, "PgUp"},         {34, "PgDn"},   {35, "End"},       {36, "Home"},   {37, "Left"},
    {38, "Up"},           {39, "Right"},  {40, "Down"},      {44, "PrtSc"},  {45, "Ins"},
    {46, "Del"},          {91, "Win"},    {92, "Win"},       {93, "Menu"},   {106, "Num *"},
    {107, "Num +"},       {109, "Num -"}, {110, "Num ."},    {111, "Num /"}, {144, "Num Lock"},
    {145, "Scroll Lock"}, {186, ";"},     {187, "="},        {188, ","},     {189, "-"},
    {190, "."},           {191, "/"},     {192, "`"},        {219, "["},     {220, "\\"},
    {221, "]"},           {222, "'"},     {226, "\\"},
};

}  // namespace

QStringList KeyMap::KeyColumn(const QStringList& catalogueColumn) const {
    if (!HasStoredKeys()) {
        return catalogueColumn;
    }
    QStringList column = catalogueColumn;
    while (column.size() < kBellCount) {
        column.append(QString());
    }
    for (int bell = 0; bell < kBellCount; ++bell) {
        if (const int key = stored_[std::size_t(bell)]; key != kNoKey) {
            column[bell] = QString::number(key);
        }
    }
    return column;
}

int KeyMap::KeyOf(int bell, const QStringList& catalogueColumn) const {
    if (bell < 0 || bell >= kBellCount) {
        return kNoKey;
    }
    if (const int key = stored_[std::size_t(bell)]; key != kNoKey) {
        return key;
    }
    try {
        return StrToInt(At(catalogueColumn, bell));
    } catch (const std::exception&) {
        return kNoKey;
    }
}

int KeyMap::StoredKey(int bell) const {
    return bell >= 0 && bell < kBellCount ? stored_[std::size_t(bell)] : kNoKey;
}

bool KeyMap::HasStoredKeys() const {
    for (int key : stored_) {
        if (key != kNoKey) {
            return true;
        }
    }
    return false;
}

bool KeyMap::SetKey(int bell, int key) {
    if (bell < 0 || bell >= kBellCount || (key != kNoKey && !ValidKey(key))) {
        return false;
    }
    stored_[std::size_t(bell)] = key;
    return true;
}

bool KeyMap::IsReservedKey(int key) {
    switch (key) {
        case kVkTab:
        case kVkReturn:
        case 16:  // Shift
        case 17:  // Ctrl
        case 18:  // Alt
        case kVkEscape:
        case kVkSpace:
        case kVkLeft:
        case kVkRight:
        case '1':
        case '2':
        case '3':
        case kVkNumpad0 + 1:
        case kVkNumpad0 + 2:
        case kVkNumpad0 + 3:
        case kVkF1:
            return true;
        default:
            return false;
    }
}

bool KeyMap::IsShortcutKey(int key) {
    for (const TransportKey& t : kTransportKeys) {
        if (t.virtualKey == key) {
            return true;
        }
    }
    return false;
}

KeyMap::Refusal KeyMap::Check(int bell, int key, const QStringList& catalogueColumn,
                              int* other) const {
    if (other) {
        *other = -1;
    }
    if (IsReservedKey(key) || !ValidKey(key)) {
        return Refusal::kReservedKey;
    }
    if (IsShortcutKey(key)) {
        return Refusal::kShortcutKey;
    }
    for (int b = 0; b < kBellCount; ++b) {
        if (b != bell && KeyOf(b, catalogueColumn) == key) {
            if (other) {
                *other = b;
            }
            return Refusal::kOtherBell;
        }
    }
    return Refusal::kNone;
}

QString KeyMap::KeyName(int key) {
    if (key == kNoKey) {
        return {};
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return QString(QChar(key));
    }
    if (key >= kVkNumpad0 && key <= kVkNumpad0 + 9) {
        return QStringLiteral("Num ") + QString::number(key - kVkNumpad0);
    }
    if (key >= kVkF1 && key <= kVkF1 + 23) {
        return QStringLiteral("F") + QString::number(key - kVkF1 + 1);
    }
    for (const auto& [code, name] : kKeyNames) {
        if (code == key) {
            return QString::fromLatin1(name);
        }
    }
    return QStringLiteral("#") + QString::number(key);
}

void KeyMap::Read(const IniFile& ini) {
    Clear();
    for (int bell = 0; bell < kBellCount; ++bell) {
        const int key = ini.ReadInteger(kSection, BellKey(bell), kNoKey);
        if (ValidKey(key)) {
            stored_[std::size_t(bell)] = key;
        }
    }
}

bool KeyMap::Write(IniFile& ini) const {
    for (int bell = 0; bell < kBellCount; ++bell) {
        const int key = stored_[std::size_t(bell)];
        const bool written = key == kNoKey ? ini.EraseKey(kSection, BellKey(bell))
                                           : ini.WriteInteger(kSection, BellKey(bell), key);
        if (!written) {
            return false;
        }
    }
    return true;
}

}  // namespace orvane
