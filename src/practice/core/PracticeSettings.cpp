#include "practice/core/PracticeSettings.h"

#include "app/core/IniFile.h"

namespace orvane {

namespace {

const QString kLetters = QStringLiteral("smb");

}  // namespace

QString PracticeSettings::GroupLetters(const std::array<bool, 3>& groups) {
    QString letters;
    for (int g = 0; g < 3; ++g) {
        if (groups[std::size_t(g)]) {
            letters += kLetters.at(g);
        }
    }
    return letters;
}

std::array<bool, 3> PracticeSettings::GroupsOfLetters(const QString& letters) {
    std::array<bool, 3> groups{false, false, false};
    for (QChar c : letters) {
        const qsizetype g = kLetters.indexOf(c);
        if (g >= 0) {
            groups[std::size_t(g)] = true;
        }
    }
    return groups;
}

std::array<bool, 3> PracticeSettings::InitialGroups(const std::array<bool, 3>& checked,
                                                    const std::array<bool, 3>& stored) {
    const std::array<bool, 3> off{!checked[0], !checked[1], !checked[2]};
    if (off[0] || off[1] || off[2]) {
        return off;
    }
    if (stored[0] || stored[1] || stored[2]) {
        return stored;
    }
    return {false, false, true};
}

PracticeSettings PracticeSettings::Read(const IniFile& ini) {
    const QString section = QString::fromLatin1(kSection);
    PracticeSettings s;
    s.groups = GroupsOfLetters(ini.ReadString(section, QStringLiteral("Groups"), QString()));
    s.countIn = ini.ReadBool(section, QStringLiteral("CountIn"), true);
    s.click = ini.ReadBool(section, QStringLiteral("Click"), true);
    return s;
}

bool PracticeSettings::Write(IniFile& ini) const {
    const QString section = QString::fromLatin1(kSection);
    return ini.WriteString(section, QStringLiteral("Groups"), GroupLetters(groups)) &&
           ini.WriteBool(section, QStringLiteral("CountIn"), countIn) &&
           ini.WriteBool(section, QStringLiteral("Click"), click);
}

}  // namespace orvane
