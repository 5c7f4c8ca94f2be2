#include "sound/core/VirtualKey.h"
#include "sound/VoiceTestApp.h"

#include <gtest/gtest.h>
#include <QKeyEvent>

using namespace orvane;

namespace {

class VirtualKeyTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::EnsureGuiApp(); }

    static int Native(int key, quint32 scanCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0);
        return VirtualKeyOf(event);
    }
    static int Offscreen(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers);
        return VirtualKeyOf(event);
    }
};

std::array<bool, 15> AllInSet() {
    std::array<bool, 15> inSet{};
    inSet.fill(true);
    return inSet;
}

QStringList Keys(QStringList first) {
    while (first.size() < 15) {
        first.append(QString::number(100 + first.size()));
    }
    return first;
}

}  // namespace

TEST_F(VirtualKeyTest, PhysicalKeyDecidesWhateverTheLayout) {
    // Latin and Russian layouts on the same keys.
    EXPECT_EQ(Native(Qt::Key_Q, 24), 'Q');
    EXPECT_EQ(Native(0x0419 /* Й */, 24), 'Q');
    EXPECT_EQ(Native(Qt::Key_Semicolon, 47), 186);
    EXPECT_EQ(Native(0x0416 /* Ж */, 47), 186);
    EXPECT_EQ(Native(Qt::Key_Period, 60), 190);
    EXPECT_EQ(Native(0x042E /* Ю */, 60), 190);
    EXPECT_EQ(Native(Qt::Key_Comma, 61), 191);  // Russian "," sits on the "/" key
    EXPECT_EQ(Native(Qt::Key_Exclam, 10, Qt::ShiftModifier), '1');
    EXPECT_EQ(Native(Qt::Key_0, 19), '0');
    EXPECT_EQ(Native(Qt::Key_M, 58), 'M');
    EXPECT_EQ(Native(Qt::Key_Space, 65), 32);
    EXPECT_EQ(Native(Qt::Key_Left, 113), 37);
    EXPECT_EQ(Native(Qt::Key_Down, 116), 40);
    EXPECT_EQ(Native(Qt::Key_F1, 67), 112);
    EXPECT_EQ(Native(Qt::Key_F12, 96), 123);
    EXPECT_EQ(Native(Qt::Key_Return, 36), 13);
    EXPECT_EQ(Native(Qt::Key_QuoteLeft, 49), 192);
    EXPECT_EQ(Native(Qt::Key_Backslash, 51), 220);
}

TEST_F(VirtualKeyTest, KeypadDigitKeysFollowWhatTheyType) {
    EXPECT_EQ(Native(Qt::Key_1, 87, Qt::KeypadModifier), 97);
    EXPECT_EQ(Native(Qt::Key_0, 90, Qt::KeypadModifier), 96);
    EXPECT_EQ(Native(Qt::Key_9, 81, Qt::KeypadModifier), 105);
    EXPECT_EQ(Native(Qt::Key_End, 87, Qt::KeypadModifier), 35);  // NumLock off
    EXPECT_EQ(Native(Qt::Key_Left, 83, Qt::KeypadModifier), 37);
    EXPECT_EQ(Native(Qt::Key_Period, 91, Qt::KeypadModifier), 110);
    EXPECT_EQ(Native(Qt::Key_Delete, 91, Qt::KeypadModifier), 46);
}

TEST_F(VirtualKeyTest, UnknownScanCodeFallsBackToTheQtKey) {
    EXPECT_EQ(Native(Qt::Key_B, 250), 'B');
}

TEST_F(VirtualKeyTest, WithoutScanCodeTheQtKeyDecides) {
    EXPECT_EQ(Offscreen(Qt::Key_A), 65);
    EXPECT_EQ(Offscreen(Qt::Key_Z), 90);
    EXPECT_EQ(Offscreen(Qt::Key_1), 49);
    EXPECT_EQ(Offscreen(Qt::Key_1, Qt::KeypadModifier), 97);
    EXPECT_EQ(Offscreen(Qt::Key_0, Qt::KeypadModifier), 96);
    EXPECT_EQ(Offscreen(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(Offscreen(Qt::Key_Minus), 189);
    EXPECT_EQ(Offscreen(Qt::Key_Asterisk), '8');
    EXPECT_EQ(Offscreen(Qt::Key_Space), 32);
    EXPECT_EQ(Offscreen(Qt::Key_Right), 39);
    EXPECT_EQ(Offscreen(Qt::Key_F5), 116);
    EXPECT_EQ(Offscreen(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(Offscreen(Qt::Key_BracketRight), 221);
    EXPECT_EQ(Offscreen(Qt::Key_Apostrophe), 222);
    EXPECT_EQ(Offscreen(Qt::Key_VolumeUp), kVkNone);
}

TEST_F(VirtualKeyTest, CyrillicKeysMapToTheLatinKeyAtTheSamePosition) {
    const std::pair<char16_t, int> cases[] = {
        {u'Й', 'Q'}, {u'й', 'Q'}, {u'Ф', 'A'}, {u'Я', 'Z'}, {u'Ь', 'M'}, {u'Х', 219},
        {u'Ъ', 221}, {u'Ж', 186}, {u'Э', 222}, {u'Б', 188}, {u'ю', 190}, {u'Ё', 192},
        {u'ё', 192}, {u'Т', 'N'}, {u'З', 'P'}, {u'Д', 'L'},
    };
    for (const auto& [letter, code] : cases) {
        EXPECT_EQ(Offscreen(letter), code) << int(letter);
    }
    EXPECT_EQ(Offscreen(0x0404 /* Ukrainian Є */), kVkNone);
}

TEST(BellOfKey, FirstBellInTheSetWithTheKeyRings) {
    auto inSet = AllInSet();
    const QStringList keys = Keys({"70", "65", "65"});
    EXPECT_EQ(FindBellOfKey(65, keys, inSet), 1);
    EXPECT_EQ(FindBellOfKey(70, keys, inSet), 0);
    EXPECT_EQ(FindBellOfKey(114, keys, inSet), 14);
    inSet[1] = false;  // two bells on one key: the lower one rings only while it is in the set
    EXPECT_EQ(FindBellOfKey(65, keys, inSet), 2);
    inSet[2] = false;
    EXPECT_EQ(FindBellOfKey(65, keys, inSet), -1);
    EXPECT_EQ(FindBellOfKey(66, keys, inSet), -1);
}

TEST(BellOfKey, KeyColumnThatIsNotANumberStopsTheSearch) {
    auto inSet = AllInSet();
    QStringList keys = Keys({"70", "x", "65"});
    EXPECT_EQ(FindBellOfKey(70, keys, inSet), 0);
    EXPECT_EQ(FindBellOfKey(65, keys, inSet), -1);
    inSet[1] = false;  // also when that bell is out of the set
    EXPECT_EQ(FindBellOfKey(65, keys, inSet), -1);
    keys[1] = "";
    EXPECT_EQ(FindBellOfKey(65, keys, inSet), -1);
    // A short column stops at its end.
    EXPECT_EQ(FindBellOfKey(65, QStringList({"70", "71"}), AllInSet()), -1);
    // A key without a code rings nothing, even against a column of "0".
    EXPECT_EQ(FindBellOfKey(kVkNone, Keys({"0"}), AllInSet()), -1);
}
