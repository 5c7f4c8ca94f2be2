// The installer started ahead of the start-up sequence: waited for at its step, or ended with
// its owner, and its file never left behind.

#include "app/core/InstallerRun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvane;

namespace {

class InstallerRunTest : public ::testing::Test {
protected:
    // A payload that is a shell script of `body`.
    QString Payload(const QString& body) {
        const QString path = dir.filePath("payload.sh");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(("#!/bin/sh\n" + body + "\n").toUtf8());
        return path;
    }
    QString InstallerFile() const { return dir.filePath("bells.exe"); }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(InstallerRunTest, TheRunGoesOnBesideTheCallerAndFinishWaitsForItsEnd) {
    const QString marker = dir.filePath("done");
    qputenv("ORVANE_INSTALLER_TEST", "at start");
    auto run = InstallerRun::Start(
        dir.path(), Payload("sleep 0.3; echo \"$ORVANE_INSTALLER_TEST\" > '" + marker + "'"));
    ASSERT_TRUE(run);
    qputenv("ORVANE_INSTALLER_TEST", "changed later");
    EXPECT_FALSE(QFileInfo::exists(marker)) << "Start does not wait";
    EXPECT_TRUE(run->Finish());
    QFile written(marker);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().trimmed(), "at start") << "the environment as it was at the start";
    qunsetenv("ORVANE_INSTALLER_TEST");
    EXPECT_FALSE(QFileInfo::exists(InstallerFile()));
    EXPECT_TRUE(run->Finish()) << "a second call gives the same answer without waiting";
}

TEST_F(InstallerRunTest, FailuresAreReportedAndLeaveNoFile) {
    auto failing = InstallerRun::Start(dir.path(), Payload("exit 3"));
    ASSERT_TRUE(failing);
    EXPECT_FALSE(failing->Finish());
    EXPECT_FALSE(QFileInfo::exists(InstallerFile()));

    EXPECT_FALSE(InstallerRun::Start(dir.path(), dir.filePath("no-such-payload")));
    EXPECT_FALSE(QFileInfo::exists(InstallerFile()));
    auto unwritable = InstallerRun::Start(dir.filePath("no/such/folder"), Payload("exit 0"));
    ASSERT_TRUE(unwritable) << "a folder that cannot be written is reported by Finish";
    EXPECT_FALSE(unwritable->Finish());
}

TEST_F(InstallerRunTest, AnEndRequestOrTheOwnersEndKillsAnUnfinishedRun) {
    QElapsedTimer timer;
    timer.start();
    auto asked = InstallerRun::Start(dir.path(), Payload("sleep 30"));
    ASSERT_TRUE(asked);
    int polls = 0;
    EXPECT_FALSE(asked->Finish([&] { return ++polls == 2; }));
    EXPECT_FALSE(QFileInfo::exists(InstallerFile()));

    auto dropped = InstallerRun::Start(dir.path(), Payload("sleep 30"));
    ASSERT_TRUE(dropped);
    dropped.reset();
    EXPECT_FALSE(QFileInfo::exists(InstallerFile()));
    EXPECT_LT(timer.elapsed(), 10000) << "neither run was waited for to its end";
}
