#include "app/ui/SingleInstance.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

using namespace orvane;

namespace {

// Every test gets a temporary folder of its own, where the claim and the socket live.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        oldTmp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("TMPDIR", oldTmp_); }

    const QString key_ = QStringLiteral("Single instance test");

private:
    QTemporaryDir tmp_;
    QByteArray oldTmp_;
};

TEST_F(SingleInstanceTest, LaterCopiesFindTheClaimAndAskTheFirstToComeForward) {
    int raised = 0;
    {
        SingleInstance first(key_);
        ASSERT_TRUE(first.Claim());
        ASSERT_TRUE(first.Listen([&raised] { ++raised; }));
        EXPECT_TRUE(QFile::exists(SingleInstance::SocketPath(key_)));

        SingleInstance second(key_);
        EXPECT_FALSE(second.Claim());
        EXPECT_TRUE(second.AskRunningCopy(2000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }, 2000));
        EXPECT_TRUE(second.AskRunningCopy(2000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 2; }, 2000));
        QTest::qWait(50);
        EXPECT_EQ(raised, 2);  // one request, one raise

        // Another key is another program.
        SingleInstance other(QStringLiteral("Another title"));
        EXPECT_TRUE(other.Claim());
    }
    // The first copy has ended: its socket is gone and the claim is free again.
    EXPECT_FALSE(QFile::exists(SingleInstance::SocketPath(key_)));
    SingleInstance next(key_);
    EXPECT_TRUE(next.Claim());
}

TEST_F(SingleInstanceTest, ASocketLeftByACopyThatDiedIsReplaced) {
    const QByteArray path = QFile::encodeName(SingleInstance::SocketPath(key_));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(stale, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(stale);  // the file stays, nobody listens
    ASSERT_TRUE(QFile::exists(QFile::decodeName(path)));

    int raised = 0;
    SingleInstance first(key_);
    ASSERT_TRUE(first.Claim());
    ASSERT_TRUE(first.Listen([&raised] { ++raised; }));
    SingleInstance second(key_);
    EXPECT_TRUE(second.AskRunningCopy(2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }, 2000));
}

TEST_F(SingleInstanceTest, AskingWaitsForAFirstCopyThatListensLateAndGivesUpWithoutOne) {
    SingleInstance nobody(key_);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(nobody.AskRunningCopy(200));
    EXPECT_GE(timer.elapsed(), 190);

    // The first copy claims at once but listens only after its window is created.
    int raised = 0;
    SingleInstance first(key_);
    ASSERT_TRUE(first.Claim());
    std::atomic<int> asked{-1};
    SingleInstance second(key_);
    std::thread asking([&] { asked = second.AskRunningCopy(5000) ? 1 : 0; });
    QTest::qWait(150);
    ASSERT_TRUE(first.Listen([&raised] { ++raised; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 1; }, 5000));
    asking.join();
    EXPECT_EQ(asked, 1);
}

// The claim is the lock on the file at its path: a file left by a copy that died (nobody holds
// it) is taken over, a lock held on it by any other open blocks the claim, and the claim's file
// is removed when the copy ends.
TEST_F(SingleInstanceTest, ALockFileLeftBehindIsTakenOverAndAHeldOneBlocks) {
    const QString lockPath = QDir(QDir::tempPath()).filePath(SingleInstance::ServerName(key_) +
                                                              QStringLiteral(".lock"));
    {
        QFile left(lockPath);
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
        left.write("12345\norvane\n");
    }
    {
        SingleInstance first(key_);
        EXPECT_TRUE(first.Claim());
        EXPECT_TRUE(first.Claim());  // held already
        SingleInstance second(key_);
        EXPECT_FALSE(second.Claim());
    }
    EXPECT_FALSE(QFile::exists(lockPath));

    const int holder = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    SingleInstance blocked(key_);
    EXPECT_FALSE(blocked.Claim());
    ::close(holder);  // the holder ends: its lock goes with it
    EXPECT_TRUE(blocked.Claim());
}

}  // namespace
