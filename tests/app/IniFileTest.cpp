#include "app/core/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orvane::IniFile;

namespace {

class Ini : public ::testing::Test {
protected:
    void Write(const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray Content() {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QTemporaryDir dir;
    QString path = dir.path() + "/orvane.ini";
    IniFile ini{path};
};

}  // namespace

TEST_F(Ini, IntegerAndBooleanReadingRules) {
    Write("[VIEW]\r\ntools=0x1\r\nBells=yes\r\nInfo=0\r\n[Settings]\r\nGrid=2\r\nView=$1F\r\nA=0x\r\nB=-12\r\n");
    EXPECT_TRUE(ini.ReadBool("View", "Tools", false));
    EXPECT_TRUE(ini.ReadBool("View", "Bells", true));   // not an integer: the default
    EXPECT_FALSE(ini.ReadBool("View", "Bells", false));
    EXPECT_FALSE(ini.ReadBool("View", "Info", true));
    EXPECT_TRUE(ini.ReadBool("settings", "GRID", false));
    EXPECT_EQ(ini.ReadInteger("Settings", "View", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Settings", "A", 7), 7);  // "0x" alone is no number
    EXPECT_EQ(ini.ReadInteger("Settings", "B", 7), -12);
    EXPECT_EQ(ini.ReadInteger("Form", "Width", 694), 694);  // missing section
}

TEST_F(Ini, TextIsReadUpTo2047Characters) {
    Write("[Serial]\r\nBells=" + QByteArray(3000, '1') + "\r\n");
    EXPECT_EQ(ini.ReadString("Serial", "Bells", "").size(), 2047);
    EXPECT_EQ(ini.ReadString("Serial", "Types", "nnn"), "nnn");
}

TEST_F(Ini, WritesReplaceKeysInPlaceAndSeeTheCurrentFile) {
    Write("[View]\nTools=1\n[Form]\nLeft=0\n");
    ASSERT_TRUE(ini.WriteInteger("form", "LEFT", 12));
    ASSERT_TRUE(ini.WriteBool("View", "Info", false));
    ASSERT_TRUE(ini.WriteString("Serial", "Bells", "011"));
    EXPECT_EQ(Content(), QByteArray("[View]\r\nTools=1\r\nInfo=0\r\n[Form]\r\nLEFT=12\r\n[Serial]\r\nBells=011\r\n"));
    QFile::remove(path);  // deleted while running: the next write starts a new file
    ASSERT_TRUE(ini.WriteString("Serial", "Types", "nnn"));
    EXPECT_EQ(Content(), QByteArray("[Serial]\r\nTypes=nnn\r\n"));
}

TEST_F(Ini, AFailedWriteLeavesTheOldFile) {
    Write("[View]\r\nTools=1\r\n");
    IniFile inDirectory(dir.path());  // a folder cannot be replaced by a file
    EXPECT_FALSE(inDirectory.WriteString("View", "Tools", "0"));
    IniFile missingFolder(dir.path() + "/no/such/orvane.ini");
    EXPECT_FALSE(missingFolder.WriteString("View", "Tools", "0"));
    EXPECT_EQ(Content(), QByteArray("[View]\r\nTools=1\r\n"));
}
