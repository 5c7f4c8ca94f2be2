#pragma once

#include <QString>
#include <array>

namespace orvane {

class IniFile;

// The choices of the practice panel, kept in the settings file's own section. With the section
// absent every value is its default. Runs on the user-interface thread.
struct PracticeSettings {
    static constexpr const char* kSection = "Practice";

    // Groups last practised (small, medium-size, great); none stored: all false.
    std::array<bool, 3> groups{false, false, false};
    bool countIn = true;  // a bar of four steps before the first step
    bool click = true;    // the count-in sounds a soft click

    static PracticeSettings Read(const IniFile& ini);
    // False when the file could not be written.
    bool Write(IniFile& ini) const;

    // The stored form of a group choice: the group letters in order ("sb"), and back (other
    // characters are ignored).
    static QString GroupLetters(const std::array<bool, 3>& groups);
    static std::array<bool, 3> GroupsOfLetters(const QString& letters);
    // The groups a panel opens with: the groups whose check boxes are off; when every box is on,
    // the stored choice; without one, the great bells.
    static std::array<bool, 3> InitialGroups(const std::array<bool, 3>& checked, const std::array<bool, 3>& stored);
};

}  // namespace orvane
