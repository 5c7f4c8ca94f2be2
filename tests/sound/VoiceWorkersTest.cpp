#include "app/core/Guard.h"
#include "sound/VoiceTestApp.h"
#include "sound/core/VoiceWorkers.h"

#include <gtest/gtest.h>
#include <QThread>
#include <algorithm>
#include <stdexcept>

using namespace orvane;

namespace {

class VoiceWorkersTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::EnsureGuiApp(); }
    void SetUp() override { GuardLog::Reset(); }
};

}  // namespace

TEST_F(VoiceWorkersTest, CallRunsOnTheUserInterfaceThreadAndTheWorkerIsFreed) {
    VoiceWorkers workers;
    QThread* callThread = nullptr;
    int calls = 0;
    TKeyStream* worker = workers.StartStrikeWorker([&] {
        callThread = QThread::currentThread();
        ++calls;
    });
    ASSERT_NE(worker, nullptr);
    EXPECT_EQ(workers.KeyStream(), worker);
    EXPECT_EQ(workers.WorkerCount(), 1);

    ASSERT_TRUE(test::ServeEventsUntil([&] { return workers.WorkerCount() == 0; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(callThread, QCoreApplication::instance()->thread());
    EXPECT_EQ(workers.KeyStream(), nullptr);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(VoiceWorkersTest, NewestWorkerReplacesTheReferenceAndEveryWorkerIsFreed) {
    VoiceWorkers workers;
    QList<int> calls;
    TKeyStream* first = workers.StartStrikeWorker([&] { calls.append(1); });
    TKeyStream* second = workers.StartStrikeWorker([&] { calls.append(2); });
    TReleaseStream* sweep = workers.StartReleaseWorker([&] { calls.append(3); });
    EXPECT_NE(first, second);
    EXPECT_EQ(workers.KeyStream(), second);
    EXPECT_EQ(workers.ReleaseStream(), sweep);
    EXPECT_EQ(workers.WorkerCount(), 3);
    EXPECT_EQ(sweep->priority(), QThread::LowPriority);
    EXPECT_EQ(second->priority(), QThread::NormalPriority);

    ASSERT_TRUE(test::ServeEventsUntil([&] { return workers.WorkerCount() == 0; }));
    std::sort(calls.begin(), calls.end());
    EXPECT_EQ(calls, QList<int>({1, 2, 3}));
    EXPECT_EQ(workers.KeyStream(), nullptr);
    EXPECT_EQ(workers.ReleaseStream(), nullptr);
}

TEST_F(VoiceWorkersTest, FaultInTheCallIsSwallowedAndTheWorkerEnds) {
    VoiceWorkers workers;
    workers.StartReleaseWorker([] { throw std::runtime_error("sweep failed"); });
    ASSERT_TRUE(test::ServeEventsUntil([&] { return workers.WorkerCount() == 0; }));
    EXPECT_EQ(GuardLog::Swallowed(), 1);
}

TEST_F(VoiceWorkersTest, ShutdownWithoutAnEventLoopDropsPendingCallsAndWaits) {
    int calls = 0;
    {
        VoiceWorkers workers;
        workers.StartStrikeWorker([&] { ++calls; });
        workers.StartReleaseWorker([&] { ++calls; });
        workers.StartStrikeWorker([&] { ++calls; });
        QThread::msleep(20);  // let the workers queue their calls
        workers.Shutdown();
        EXPECT_EQ(workers.WorkerCount(), 0);
        EXPECT_EQ(workers.KeyStream(), nullptr);
        EXPECT_EQ(workers.StartStrikeWorker([&] { ++calls; }), nullptr);
    }
    {
        // The destructor alone does the same, also for a worker that has not queued yet.
        VoiceWorkers workers;
        workers.StartStrikeWorker([&] { ++calls; });
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

TEST_F(VoiceWorkersTest, ShutdownFromInsideACallDoesNotWaitForItself) {
    auto* workers = new VoiceWorkers;
    bool ran = false;
    workers->StartStrikeWorker([&] {
        delete workers;  // the main window closing inside a strike
        ran = true;
    });
    ASSERT_TRUE(test::ServeEventsUntil([&] { return ran; }));
    // The context object of the call is freed later, after its delivery.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(VoiceWorkersTest, CallsRunAfterTheStartingHandlerReturnsAndStrikesGoBeforeSweeps) {
    VoiceWorkers workers;
    QStringList order;
    // A key handler: it starts the strike and returns before the strike runs.
    auto keyHandler = [&] {
        workers.StartReleaseWorker([&] { order.append("sweep"); });
        workers.StartStrikeWorker([&] {
            order.append("strike");
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        });
        order.append("handler returned");
    };
    keyHandler();
    ASSERT_TRUE(test::ServeEventsUntil([&] { return workers.WorkerCount() == 0; }));
    EXPECT_EQ(order, QStringList({"handler returned", "strike", "sweep"}))
        << "the sweep waits one step below the strike";
}
