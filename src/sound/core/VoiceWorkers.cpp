#include "sound/core/VoiceWorkers.h"

#include "app/core/Guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>

namespace orvane {

namespace {

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// The queued delivery of one call.
class CallEvent final : public QEvent {
  public:
    explicit CallEvent(quint64 id) : QEvent(kCallEvent), id_(id) {}
    quint64 Id() const { return id_; }

  private:
    quint64 id_;
};

// Qt's event priorities for the two documented thread priorities.
int EventPriorityOf(QThread::Priority priority) {
    return priority < QThread::NormalPriority ? Qt::LowEventPriority : Qt::NormalEventPriority;
}

}  // namespace

// Receives the queued calls; outlives its owner while a call is on the stack.
class VoiceWorkers::CallContext final : public QObject {
  public:
    explicit CallContext(VoiceWorkers* owner) : owner_(owner) {}
    void Orphan() { owner_ = nullptr; }
    // The call given up by the owner that is running now; freed when it returns.
    void Adopt(TVoiceStream* worker) { adopted_.push_back(worker); }

    bool event(QEvent* event) override {
        if (event->type() != kCallEvent) {
            return QObject::event(event);
        }
        if (owner_ != nullptr) {
            owner_->Deliver(static_cast<CallEvent*>(event)->Id());
        }
        return true;
    }

    ~CallContext() override {
        for (TVoiceStream* worker : adopted_) {
            delete worker;
        }
    }

  private:
    VoiceWorkers* owner_;
    std::vector<TVoiceStream*> adopted_;
};

QEvent::Type VoiceWorkers::CallEventType() {
    return kCallEvent;
}

TVoiceStream::TVoiceStream(std::function<void()> call, QThread::Priority priority)
    : call_(std::move(call)), priority_(priority) {}

void TVoiceStream::RunCall() {
    if (cancelled_ || !call_) {
        return;
    }
    inCall_ = true;
    Guarded(call_);
    inCall_ = false;
    done_ = true;
}

VoiceWorkers::VoiceWorkers() : context_(new CallContext(this)) {}

VoiceWorkers::~VoiceWorkers() {
    const bool callOnStack = std::any_of(workers_.begin(), workers_.end(),
                                         [](const Entry& e) { return e.worker->CallRunning(); });
    Shutdown();
    *alive_ = false;
    context_->Orphan();
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
    auto* worker = new TKeyStream(std::move(call));
    keyStream_ = worker;
    Start(worker);
    return worker;
}

TReleaseStream* VoiceWorkers::StartReleaseWorker(std::function<void()> call) {
    if (shutDown_) {
        return nullptr;
    }
    auto* worker = new TReleaseStream(std::move(call));
    releaseStream_ = worker;
    Start(worker);
    return worker;
}

void VoiceWorkers::Start(TVoiceStream* worker) {
    const quint64 id = nextId_++;
    workers_.push_back({id, worker});
    QCoreApplication::postEvent(context_, new CallEvent(id),
                                EventPriorityOf(worker->priority()));
}

void VoiceWorkers::Deliver(quint64 id) {
    const auto it =
        std::find_if(workers_.begin(), workers_.end(), [id](const Entry& e) { return e.id == id; });
    if (it == workers_.end()) {
        return;
    }
    TVoiceStream* worker = it->worker;
    // The call may destroy this object (the main window closing inside a strike); the context
    // has then adopted the worker and frees it.
    const std::shared_ptr<bool> alive = alive_;
    worker->RunCall();
    if (!*alive) {
        return;
    }
    Free(id);
}

void VoiceWorkers::Free(quint64 id) {
    const auto it =
        std::find_if(workers_.begin(), workers_.end(), [id](const Entry& e) { return e.id == id; });
    if (it == workers_.end()) {
        return;
    }
    TVoiceStream* worker = it->worker;
    workers_.erase(it);
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
    QCoreApplication::removePostedEvents(context_, kCallEvent);
    for (const Entry& entry : workers_) {
        TVoiceStream* worker = entry.worker;
        worker->Cancel();
        Forget(worker);
        if (worker->CallRunning()) {
            // Its call is below us on this stack: freed when it returns.
            context_->Adopt(worker);
        } else {
            delete worker;
        }
    }
    workers_.clear();
}

}  // namespace orvane
