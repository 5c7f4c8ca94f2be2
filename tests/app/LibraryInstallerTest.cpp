#include "app/core/LibraryInstaller.h"
#include "app/core/SessionBus.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvane;

TEST(RunProcess, ReportsTheExitCodeAndStopsAProgramWhenAskedToEnd) {
    EXPECT_TRUE(RunProcess("/bin/true", false));
    EXPECT_FALSE(RunProcess("/bin/false", false));
    EXPECT_FALSE(RunProcess("/no/such/program", false));
    EXPECT_TRUE(RunProcess("/bin/sh -c \"exit 0\"", true));
    QElapsedTimer timer;
    timer.start();
    int polls = 0;
    EXPECT_FALSE(RunProcess("/bin/sleep 30", false, [&] { return ++polls == 3; }));
    EXPECT_LT(timer.elapsed(), 5000);
}

namespace {

// Gives the original the copy's size and both files one modification time.
void SameSizeAndTime(const QString& original, const QString& copy) {
    QFile o(original);
    ASSERT_TRUE(o.open(QIODevice::ReadWrite));
    ASSERT_TRUE(o.resize(QFileInfo(copy).size()));
    const QDateTime when = QDateTime::currentDateTime().addSecs(-3600);
    ASSERT_TRUE(o.setFileTime(when, QFileDevice::FileModificationTime));
    QFile c(copy);
    ASSERT_TRUE(c.open(QIODevice::ReadWrite));
    ASSERT_TRUE(c.setFileTime(when, QFileDevice::FileModificationTime));
}

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(CopySoundFiles, CopiesNewWaveFilesOnly) {
    QTemporaryDir dir;
    const QString source = dir.path() + "/Sound/Mono";
    const QString temp = dir.path() + "/cache/deeper/TempOrvaneMono";
    QDir().mkpath(source);
    for (const char* name : {"a.wav", "B.WAV", "notes.txt"}) {
        QFile f(source + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name);
    }
    QDir().mkpath(temp);
    QFile kept(temp + "/a.wav");
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    SameSizeAndTime(source + "/a.wav", temp + "/a.wav");
    CopySoundFiles(source, temp);
    QStringList names = QDir(temp).entryList(QDir::Files);
    names.sort();
    EXPECT_EQ(names, (QStringList{"B.WAV", "a.wav"}));
    QFile a(temp + "/a.wav");
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), QByteArray("kept"));
    CopySoundFiles(dir.path() + "/missing", dir.path() + "/cache/empty");
    EXPECT_TRUE(QDir(dir.path() + "/cache/empty").exists());
}

TEST(CopySoundFiles, CopiesAreWholeWithTheSourcePermissionsAndLeaveNothingElse) {
    QTemporaryDir dir;
    const QString source = dir.path() + "/Sound/Stereo";
    const QString temp = dir.path() + "/TempOrvaneStereo";
    QDir().mkpath(source);
    QByteArray large(3 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < large.size(); ++i) {
        large[i] = char(i * 131 % 251);
    }
    QFile big(source + "/big.wav");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(large);
    big.close();
    big.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QFile empty(source + "/empty.wav");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    CopySoundFiles(source, temp);
    EXPECT_EQ(QDir(temp).entryList(QDir::Files | QDir::Hidden), (QStringList{"big.wav", "empty.wav"}));
    QFile copy(temp + "/big.wav");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), large);
    EXPECT_EQ(copy.permissions() & ~QFileDevice::ReadUser, big.permissions() & ~QFileDevice::ReadUser);
    EXPECT_EQ(QFileInfo(temp + "/empty.wav").size(), 0);
}

TEST(SessionBus, AMissingAddressRefusesAtOnceAndAGivenOneStays) {
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const bool wasSet = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    KeepSessionBusFromLaunching();
    EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), QByteArray("disabled:"));
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray(""));
    KeepSessionBusFromLaunching();
    EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), QByteArray("disabled:"));
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray("unix:path=/run/user/1000/bus"));
    KeepSessionBusFromLaunching();
    EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), QByteArray("unix:path=/run/user/1000/bus"));
    if (wasSet) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
    } else {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
}

TEST(CopySoundFiles, RefreshesCopiesThatDifferInSizeOrTime) {
    QTemporaryDir dir;
    const QString source = dir.path() + "/Sound";
    const QString temp = dir.path() + "/Temp";
    QDir().mkpath(source);
    QDir().mkpath(temp);
    auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    write(source + "/size.wav", "new sound, longer");
    write(temp + "/size.wav", "old");
    write(source + "/time.wav", "new!");
    write(temp + "/time.wav", "old!");
    write(source + "/same.wav", "same");
    write(temp + "/same.wav", "kept");
    SameSizeAndTime(source + "/same.wav", temp + "/same.wav");
    {
        QFile t(temp + "/time.wav");
        ASSERT_TRUE(t.open(QIODevice::ReadWrite));
        ASSERT_TRUE(t.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                  QFileDevice::FileModificationTime));
    }
    CopySoundFiles(source, temp);
    EXPECT_EQ(Contents(temp + "/size.wav"), "new sound, longer");
    EXPECT_EQ(Contents(temp + "/time.wav"), "new!");
    EXPECT_EQ(Contents(temp + "/same.wav"), "kept");
    EXPECT_EQ(QFileInfo(temp + "/time.wav").lastModified(),
              QFileInfo(source + "/time.wav").lastModified());
    EXPECT_EQ(QDir(temp).entryList(QDir::Files).size(), 3);  // no partial copies left behind

    // A second pass finds every copy current and leaves it alone.
    const QDateTime copied = QFileInfo(temp + "/size.wav").lastModified();
    CopySoundFiles(source, temp);
    EXPECT_EQ(QFileInfo(temp + "/size.wav").lastModified(), copied);
}
