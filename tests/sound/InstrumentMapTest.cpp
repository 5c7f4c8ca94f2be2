// The instrument maps without a window: MIDI notes and velocities, the user's keys with their
// conflicts and their settings sections, and the reading of raw MIDI messages.

#include "app/core/IniFile.h"
#include "app/core/TextFile.h"
#include "sound/VoiceTestApp.h"
#include "sound/core/KeyMap.h"
#include "sound/core/MidiInput.h"
#include "sound/core/MidiNoteMap.h"
#include "sound/core/VirtualKey.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cmath>
#include <set>

using namespace orvane;

namespace {

// The catalogue's key column as shipped: Z X C V B A S D F G H J K L ;
QStringList CatalogueKeys() {
    return {"90", "88", "67", "86", "66", "65", "83", "68",
            "70", "71", "72", "74", "75", "76", "186"};
}

std::array<bool, 15> AllInSet() {
    std::array<bool, 15> inSet{};
    inSet.fill(true);
    return inSet;
}

class IniFixture : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("orvane.ini"); }
    void Write(const QStringList& lines) { ASSERT_TRUE(WriteTextLines(Path(), lines)); }
    QStringList Lines() const {
        QStringList lines;
        ReadTextLines(Path(), lines);
        return lines;
    }
    QTemporaryDir dir;
};

}  // namespace

TEST(MidiNoteMapTest, TheDefaultMapPutsHeavyBellsOnThePedalsAndSmallOnesOnTheKeyboard) {
    const MidiNoteMap map;
    std::set<int> notes;
    for (int bell = 0; bell < 15; ++bell) {
        const int note = map.NoteOf(bell);
        notes.insert(note);
        EXPECT_EQ(map.BellOfNote(note), bell) << "note " << note;
        if (bell <= 10) {  // great and medium-size bells: the 13-note pedal board
            EXPECT_GE(note, MidiNoteMap::kPedalLowest);
            EXPECT_LT(note, MidiNoteMap::kPedalLowest + MidiNoteMap::kPedalCount);
        } else {  // small bells: above the pedal board
            EXPECT_GE(note, 60);
        }
    }
    EXPECT_EQ(notes.size(), 15u) << "every bell has a note of its own";
    EXPECT_EQ(map.NoteOf(0), 36);
    EXPECT_EQ(map.NoteOf(14), 65);
    // Heavier bells sound lower: the notes rise with the bell index.
    for (int bell = 1; bell < 15; ++bell) {
        EXPECT_GT(map.NoteOf(bell), map.NoteOf(bell - 1));
    }
    for (int free : {0, 35, 47, 48, 61, 127, -1, 128}) {
        EXPECT_EQ(map.BellOfNote(free), -1) << free;
    }
    EXPECT_EQ(map.NoteOf(15), MidiNoteMap::kNoNote);
    EXPECT_EQ(map.NoteOf(-1), MidiNoteMap::kNoNote);
}

TEST(MidiNoteMapTest, VelocityGivesAGainThatNeverExceedsAKeyStrike) {
    EXPECT_EQ(MidiNoteMap::VelocityGain(127), 1.0f);
    EXPECT_EQ(MidiNoteMap::VelocityGain(200), 1.0f);
    EXPECT_EQ(MidiNoteMap::VelocityGain(0), 0.0f);
    EXPECT_EQ(MidiNoteMap::VelocityGain(-5), 0.0f);
    float previous = 0.0f;
    for (int v = 1; v <= 127; ++v) {
        const float gain = MidiNoteMap::VelocityGain(v);
        EXPECT_GT(gain, previous) << v;
        EXPECT_LE(gain, 1.0f);
        previous = gain;
    }
    EXPECT_NEAR(20 * std::log10(MidiNoteMap::VelocityGain(64)), -12.0, 0.2);
    EXPECT_NEAR(20 * std::log10(MidiNoteMap::VelocityGain(1)), -84.1, 0.2);
}

TEST_F(IniFixture, TheUsersNotesAreReadOverTheDefaultsAndADefaultMapLeavesNoTrace) {
    Write({"[View]", "Tools=1", "[Midi]", "Bell0=48", "Bell3=abc", "Bell4=128", "Bell5=-1"});
    IniFile ini(Path());
    MidiNoteMap map;
    map.Read(ini);
    EXPECT_EQ(map.NoteOf(0), 48);
    EXPECT_EQ(map.NoteOf(3), MidiNoteMap::DefaultNote(3)) << "not a number: the default";
    EXPECT_EQ(map.NoteOf(4), MidiNoteMap::DefaultNote(4)) << "out of range: the default";
    EXPECT_EQ(map.NoteOf(5), MidiNoteMap::DefaultNote(5));
    EXPECT_EQ(map.ConflictOf(0, 48), -1);
    EXPECT_EQ(map.ConflictOf(1, 48), 0);
    EXPECT_FALSE(map.SetNote(1, 128));
    EXPECT_FALSE(map.SetNote(15, 50));

    ASSERT_TRUE(map.SetNote(1, 50));
    ASSERT_TRUE(map.Write(ini));
    MidiNoteMap again;
    again.Read(ini);
    EXPECT_EQ(again, map);

    // Back to the defaults: the section goes, the rest of the file stays.
    ASSERT_TRUE(MidiNoteMap().Write(ini));
    EXPECT_EQ(Lines(), (QStringList{"[View]", "Tools=1"}));
}

TEST(KeyMapTest, WithNothingStoredTheCatalogueColumnIsUsedAsItStands) {
    const KeyMap map;
    // A column that is not a number still stops the search where it stands.
    const QStringList column{"90", "x", "76"};
    EXPECT_EQ(map.KeyColumn(column), column);
    EXPECT_EQ(FindBellOfKey(76, map.KeyColumn(column), AllInSet()), -1);
    EXPECT_EQ(map.KeyOf(1, column), KeyMap::kNoKey);
    EXPECT_FALSE(map.HasStoredKeys());
}

TEST(KeyMapTest, AStoredKeyRingsItsBellWhateverTheKeyboardLayout) {
    test::EnsureGuiApp();
    KeyMap map;
    ASSERT_TRUE(map.SetKey(14, 'Q'));
    const QStringList column = map.KeyColumn(CatalogueKeys());
    EXPECT_EQ(column[14], "81");
    EXPECT_EQ(column[13], "76") << "bells without a stored key keep the catalogue's";
    // The Q position typed with a Russian layout: Й, on the X11 key code of Q, and offscreen.
    const QKeyEvent russian(QEvent::KeyPress, 0x419, Qt::NoModifier, 24, 0, 0);
    const QKeyEvent offscreen(QEvent::KeyPress, 0x419, Qt::NoModifier);
    EXPECT_EQ(FindBellOfKey(VirtualKeyOf(russian), column, AllInSet()), 14);
    EXPECT_EQ(FindBellOfKey(VirtualKeyOf(offscreen), column, AllInSet()), 14);
    EXPECT_EQ(FindBellOfKey(186, column, AllInSet()), -1) << "the old key rings nothing";
    EXPECT_FALSE(map.SetKey(3, 255));
    EXPECT_FALSE(map.SetKey(15, 'Q'));
}

TEST(KeyMapTest, ConflictsAreRefusedWithTheirReason) {
    KeyMap map;
    const QStringList catalogue = CatalogueKeys();
    int other = -1;
    EXPECT_EQ(map.Check(0, 'X', catalogue, &other), KeyMap::Refusal::kOtherBell);
    EXPECT_EQ(other, 1);
    EXPECT_EQ(map.Check(0, 'Z', catalogue, &other), KeyMap::Refusal::kNone) << "its own key";
    EXPECT_EQ(map.Check(0, 'Q', catalogue), KeyMap::Refusal::kNone);
    for (int reserved : {32, 37, 39, 49, 50, 51, 97, 98, 99, 112, 16, 17, 18, 27, 9, 13}) {
        EXPECT_EQ(map.Check(0, reserved, catalogue), KeyMap::Refusal::kReservedKey) << reserved;
    }
    for (int shortcut = 114; shortcut <= 123; ++shortcut) {
        EXPECT_EQ(map.Check(0, shortcut, catalogue),
                  shortcut == 121 ? KeyMap::Refusal::kNone : KeyMap::Refusal::kShortcutKey)
            << shortcut;
    }
    // Once bell 1 has moved to Q, X is free for bell 0, and Q is taken.
    ASSERT_TRUE(map.SetKey(1, 'Q'));
    EXPECT_EQ(map.Check(0, 'X', catalogue), KeyMap::Refusal::kNone);
    EXPECT_EQ(map.Check(0, 'Q', catalogue, &other), KeyMap::Refusal::kOtherBell);
    EXPECT_EQ(other, 1);
}

TEST(KeyMapTest, KeysHaveTheNamesPrintedOnAUsKeyboard) {
    EXPECT_EQ(KeyMap::KeyName('Z'), "Z");
    EXPECT_EQ(KeyMap::KeyName('7'), "7");
    EXPECT_EQ(KeyMap::KeyName(186), ";");
    EXPECT_EQ(KeyMap::KeyName(116), "F5");
    EXPECT_EQ(KeyMap::KeyName(97), "Num 1");
    EXPECT_EQ(KeyMap::KeyName(32), "Space");
    EXPECT_EQ(KeyMap::KeyName(7), "#7");
    EXPECT_EQ(KeyMap::KeyName(KeyMap::kNoKey), "");
}

TEST_F(IniFixture, StoredKeysGoToTheirSectionAndLeaveItWhenForgotten) {
    Write({"[Settings]", "Grid=0", "[Keys]", "Bell2=81", "Bell3=300", "Bell4=zz", "Labels=0"});
    IniFile ini(Path());
    KeyMap map;
    map.Read(ini);
    EXPECT_EQ(map.StoredKey(2), 'Q');
    EXPECT_EQ(map.StoredKey(3), KeyMap::kNoKey);
    EXPECT_EQ(map.StoredKey(4), KeyMap::kNoKey);

    ASSERT_TRUE(map.SetKey(5, 'W'));
    ASSERT_TRUE(map.Write(ini));
    EXPECT_EQ(ini.ReadInteger("Keys", "Bell5", 0), 'W');
    EXPECT_EQ(ini.ReadString("Keys", "Bell3", "gone"), "gone") << "an invalid key is dropped";

    // Forgetting every key keeps the section's other settings.
    map.Clear();
    ASSERT_TRUE(map.Write(ini));
    EXPECT_EQ(Lines(), (QStringList{"[Settings]", "Grid=0", "[Keys]", "Labels=0"}));
}

TEST_F(IniFixture, ErasingAKeyRemovesAnEmptiedSectionAndLeavesAFileWithoutItUntouched) {
    Write({"[A]", "x=1", "", "[B]", "y=2"});
    IniFile ini(Path());
    const QByteArray before = [&] {
        QFile f(Path());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    EXPECT_TRUE(ini.EraseKey("C", "x"));
    EXPECT_TRUE(ini.EraseKey("B", "x"));
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();
    EXPECT_TRUE(ini.EraseKey("a", "X"));
    EXPECT_EQ(Lines(), (QStringList{"[B]", "y=2"}));
}

TEST(MidiInputTest, OnlyANoteOnWithAVelocityCounts) {
    int note = -1;
    int velocity = -1;
    const unsigned char on[] = {0x94, 60, 100};
    EXPECT_TRUE(MidiInput::ParseNoteOn(on, 3, note, velocity));
    EXPECT_EQ(note, 60);
    EXPECT_EQ(velocity, 100);
    const unsigned char zero[] = {0x90, 60, 0};
    const unsigned char off[] = {0x80, 60, 64};
    const unsigned char control[] = {0xB0, 7, 100};
    const unsigned char bad[] = {0x90, 200, 100};
    EXPECT_FALSE(MidiInput::ParseNoteOn(zero, 3, note, velocity)) << "velocity 0 is a note-off";
    EXPECT_FALSE(MidiInput::ParseNoteOn(off, 3, note, velocity));
    EXPECT_FALSE(MidiInput::ParseNoteOn(control, 3, note, velocity));
    EXPECT_FALSE(MidiInput::ParseNoteOn(bad, 3, note, velocity));
    EXPECT_FALSE(MidiInput::ParseNoteOn(on, 2, note, velocity));
}
