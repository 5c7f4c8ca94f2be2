#include "sound/core/VoiceWorkers.h"

#include "app/core/Guard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QMetaObject>
#include <algorithm>

namespace orvane {

namespace {

// While Shutdown waits for a worker it drops the worker's queued call this often (ms).
constexpr int kShutdownPollMs = 5;

}  // namespace

TVoiceStream::TVoiceStream(QObject* uiContext, std::function<void()> call)
    : uiContext_(uiContext), call_(std::move(call)) {}

void TVoiceStream::run() {
    // The queued call event releases this thread when it has run, and also when it is
    // dropped unrun (Shutdown removes it), so the wait always ends.
    Guarded([this] {
        QMetaObject::invokeMethod(
            uiContext_, [this] { RunCall(); }, Qt::BlockingQueuedConnection);
    });
}

void TVoiceStream::RunCall() {
    if (cancelled_ || !call_) {
        return;
    }
    inCall_ = true;
    Guarded(call_);
    inCall_ = false;
    done_ = true;
}

VoiceWorkers::VoiceWorkers() : context_(new QObject) {}

VoiceWorkers::~VoiceWorkers() {
    const bool callOnStack = std::any_of(workers_.begin(), workers_.end(),
                                         [](const Entry& e) { return e.worker->CallRunning(); });
    Shutdown();
    if (callOnStack) {
        // The running call was delivered to the context: it must outlive that delivery.
        context_->deleteLater();
    } else {
        delete context_;
    }
}

TKeyStream* VoiceWorkers::StartStrikeWorker(std::function<void()> call) {
    if (shutDown_) {
        return nullptr;
    }
    auto* worker = new TKeyStream(context_, std::move(call));
    keyStream_ = worker;
    Start(worker, TKeyStream::kPriority);
    return worker;
}

TReleaseStream* VoiceWorkers::StartReleaseWorker(std::function<void()> call) {
    if (shutDown_) {
        return nullptr;
    }
    auto* worker = new TReleaseStream(context_, std::move(call));
    releaseStream_ = worker;
    Start(worker, TReleaseStream::kPriority);
    return worker;
}

void VoiceWorkers::Start(TVoiceStream* worker, QThread::Priority priority) {
    const quint64 id = nextId_++;
    workers_.push_back({id, worker});
    // finished is emitted on the worker thread; the freeing runs on this thread.
    QObject::connect(
        worker, &QThread::finished, context_, [this, id] { Free(id); }, Qt::QueuedConnection);
    worker->start(priority);
}

void VoiceWorkers::Free(quint64 id) {
    const auto it =
        std::find_if(workers_.begin(), workers_.end(), [id](const Entry& e) { return e.id == id; });
    if (it == workers_.end()) {
        return;
    }
    TVoiceStream* worker = it->worker;
    workers_.erase(it);
    // finished has been emitted: the thread is at its very end, the wait is short.
    worker->wait();
    Forget(worker);
    delete worker;
}

void VoiceWorkers::Forget(TVoiceStream* worker) {
    if (keyStream_ == worker) {
        keyStream_ = nullptr;
    }
    if (releaseStream_ == worker) {
        releaseStream_ = nullptr;
    }
}

void VoiceWorkers::Shutdown() {
    shutDown_ = true;
    for (const Entry& entry : workers_) {
        entry.worker->Cancel();
    }
    std::vector<Entry> left;
    for (const Entry& entry : workers_) {
        TVoiceStream* worker = entry.worker;
        if (worker->CallRunning()) {
            // Its call is below us on this stack: waiting would never end.
            left.push_back(entry);
            continue;
        }
        while (!worker->wait(QDeadlineTimer(kShutdownPollMs))) {
            QCoreApplication::removePostedEvents(context_, QEvent::MetaCall);
        }
        Forget(worker);
        delete worker;
    }
    workers_ = std::move(left);
    for (const Entry& entry : workers_) {
        // Ends by itself once its call returns; its object is given up rather than destroyed
        // while it runs.
        entry.worker->disconnect(context_);
        Forget(entry.worker);
    }
    workers_.clear();
    QCoreApplication::removePostedEvents(context_, QEvent::MetaCall);
}

}  // namespace orvane
