#include "app/core/IniFile.h"
#include "practice/core/PracticeHistory.h"
#include "practice/core/PracticeSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <unistd.h>

namespace orvane {
namespace {

PracticeRecord Record(const QString& chime, double mean) {
    PracticeRecord r;
    r.when = QDateTime(QDate(2026, 3, 1), QTime(10, 0), QTimeZone::utc());
    r.chime = chime;
    r.steps = 128;
    r.groups = QStringLiteral("b");
    r.intervalMs = 250;
    r.notes = 40;
    r.strokes = 41;
    r.hits = 38;
    r.missed = 1;
    r.wrongBell = 1;
    r.extra = 2;
    r.meanError = mean;
    r.spread = 14.25;
    r.withinOnTime = 0.75;
    return r;
}

QByteArray Content(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PracticeHistoryTest, AppendsRowsAndReadsThemBack) {
    QTemporaryDir dir;
    PracticeHistory history(dir.filePath(QStringLiteral("new/folder/history.csv")));
    EXPECT_TRUE(history.Read().empty());
    ASSERT_TRUE(history.Append(Record(QStringLiteral("Trezvon, \"festive\""), -12.5))) << history.Error().toStdString();
    ASSERT_TRUE(history.Append(Record(QStringLiteral("Blagovest"), 3.0)));
    const auto records = history.Read();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].chime, QStringLiteral("Trezvon, \"festive\""));
    EXPECT_DOUBLE_EQ(records[0].meanError, -12.5);
    EXPECT_EQ(records[0].when, Record({}, 0).when);
    EXPECT_EQ(records[1].extra, 2);
    EXPECT_DOUBLE_EQ(records[1].withinOnTime, 0.75);
    EXPECT_TRUE(records[1].SameChime(Record(QStringLiteral("Blagovest"), 0)));
    EXPECT_EQ(Content(history.Path()).count('\n'), 3);  // header and two rows
}

TEST(PracticeHistoryTest, SkipsDamagedRowsAndKeepsThemOnAppend) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.csv"));
    const QString good = PracticeHistory::JoinLine(PracticeHistory::Fields(Record(QStringLiteral("A"), 1)));
    QString damaged = good;
    damaged.replace(QStringLiteral(",40,"), QStringLiteral(",forty,"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((PracticeHistory::Header().join(u',') + "\r\n" + good + "\r\n" + "2026-03-01T10:00:00Z,cut off\r\n" +
             damaged + "\r\n" + "not a date" + good.mid(good.indexOf(u',')) + "\r\n" + good)
                .toUtf8());
    f.close();
    PracticeHistory history(path);
    EXPECT_EQ(history.Read().size(), 2u);
    EXPECT_EQ(history.SkippedRows(), 3);
    ASSERT_TRUE(history.Append(Record(QStringLiteral("B"), 2)));
    EXPECT_EQ(history.Read().size(), 3u);
    EXPECT_EQ(history.SkippedRows(), 3);
    EXPECT_TRUE(Content(path).contains("cut off"));
}

TEST(PracticeHistoryTest, AReadOnlyFolderIsReportedAndTheFileKept) {
    QTemporaryDir dir;
    QString folder = dir.path();
    QString path = dir.filePath(QStringLiteral("history.csv"));
    QByteArray before;
    if (geteuid() == 0) {
        // Permissions do not bind the superuser; a process folder takes no new file.
        folder = QStringLiteral("/proc/self");
        path = folder + QStringLiteral("/history.csv");
    } else {
        ASSERT_TRUE(PracticeHistory(path).Append(Record(QStringLiteral("A"), 1)));
        before = Content(path);
        ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    PracticeHistory history(path);
    EXPECT_FALSE(history.Append(Record(QStringLiteral("B"), 2)));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(history.Error().contains(QStringLiteral("is read-only"))) << history.Error().toStdString();
    EXPECT_TRUE(history.Error().contains(QDir::toNativeSeparators(folder)));
    EXPECT_EQ(Content(path), before);
}

TEST(PracticeSettingsTest, OwnSectionRoundTripAndInitialGroups) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("orvane.ini")));
    const PracticeSettings defaults = PracticeSettings::Read(ini);
    EXPECT_TRUE(defaults.countIn);
    EXPECT_TRUE(defaults.click);
    EXPECT_EQ(defaults.groups, (std::array<bool, 3>{false, false, false}));
    PracticeSettings s;
    s.groups = {true, false, true};
    s.click = false;
    ASSERT_TRUE(s.Write(ini));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Practice"), QStringLiteral("Groups"), {}), QStringLiteral("sb"));
    const PracticeSettings back = PracticeSettings::Read(ini);
    EXPECT_EQ(back.groups, s.groups);
    EXPECT_FALSE(back.click);
    EXPECT_TRUE(back.countIn);
    // Boxes that are off win; with all on, the stored choice; else the great bells.
    EXPECT_EQ(PracticeSettings::InitialGroups({true, false, true}, {true, false, false}),
              (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(PracticeSettings::InitialGroups({true, true, true}, {true, false, false}),
              (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(PracticeSettings::InitialGroups({true, true, true}, {false, false, false}),
              (std::array<bool, 3>{false, false, true}));
}

}  // namespace
}  // namespace orvane
