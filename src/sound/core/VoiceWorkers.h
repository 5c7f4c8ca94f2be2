#pragma once

#include <QEvent>
#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <vector>

namespace orvane {

// One deferred call on the user-interface thread: started by a key press or a playback tick,
// it runs once the handler that started it has returned and the event loop comes round (a
// queued call; no thread is created). Faults of the call are swallowed. Created and owned by
// VoiceWorkers, on the user-interface thread.
class TVoiceStream : public QObject {
    Q_OBJECT

  public:
    TVoiceStream(std::function<void()> call, QThread::Priority priority);

    // User-interface thread: a call that has not run yet will not run.
    void Cancel() { cancelled_ = true; }
    // User-interface thread: true while the call is on the stack.
    bool CallRunning() const { return inCall_; }
    // User-interface thread: true once the call has returned.
    bool CallDone() const { return done_; }
    // The documented priority of the class; a lower one is delivered after waiting events of
    // the user-interface thread.
    QThread::Priority priority() const { return priority_; }

    // Runs the call unless cancelled; faults are swallowed.
    void RunCall();

  private:
    std::function<void()> call_;
    QThread::Priority priority_;
    bool cancelled_ = false;
    bool inCall_ = false;
    bool done_ = false;
};

// Strikes the current bell after a bell key press (the call is given by the main window: the
// strike of the bell that is current when the call runs, then the preview refresh).
class TKeyStream final : public TVoiceStream {
    Q_OBJECT

  public:
    static constexpr QThread::Priority kPriority = QThread::NormalPriority;
    explicit TKeyStream(std::function<void()> call) : TVoiceStream(std::move(call), kPriority) {}
};

// Sweeps finished voices for the playback timer, one step below normal priority.
class TReleaseStream final : public TVoiceStream {
    Q_OBJECT

  public:
    static constexpr QThread::Priority kPriority = QThread::LowPriority;
    explicit TReleaseStream(std::function<void()> call)
        : TVoiceStream(std::move(call), kPriority) {}
};

// Starts the deferred calls and owns them. Keeps a reference to the most recently started one of
// each class (a new start replaces it). A call's object is freed when its call has returned; a
// running one is never destroyed: Shutdown (and the destructor) drops the calls that have not
// run yet, without needing the event loop. Constructed, used and destroyed on the
// user-interface thread.
class VoiceWorkers {
  public:
    VoiceWorkers();
    ~VoiceWorkers();

    VoiceWorkers(const VoiceWorkers&) = delete;
    VoiceWorkers& operator=(const VoiceWorkers&) = delete;

    // Start a worker whose call is call. After Shutdown nothing starts and the result is null.
    TKeyStream* StartStrikeWorker(std::function<void()> call);
    TReleaseStream* StartReleaseWorker(std::function<void()> call);

    // The most recently started worker of each class while it is not yet freed, else null.
    TKeyStream* KeyStream() const { return keyStream_; }
    TReleaseStream* ReleaseStream() const { return releaseStream_; }

    // Workers started and not yet freed.
    int WorkerCount() const { return int(workers_.size()); }

    // Calls that have not run yet are dropped and freed. A call that is itself running Shutdown
    // (further up the stack) is freed when it returns.
    void Shutdown();

    // Runs the call of worker `id` (the queued delivery).
    void Deliver(quint64 id);
    // The type of the events that deliver the calls (for measurements).
    static QEvent::Type CallEventType();

  private:
    struct Entry {
        quint64 id;
        TVoiceStream* worker;
    };

    void Start(TVoiceStream* worker);
    void Free(quint64 id);
    void Forget(TVoiceStream* worker);

    // Lives in the user-interface thread; the calls are queued on it.
    class CallContext;
    CallContext* context_;
    std::vector<Entry> workers_;
    quint64 nextId_ = 1;
    TKeyStream* keyStream_ = nullptr;
    TReleaseStream* releaseStream_ = nullptr;
    bool shutDown_ = false;
    // False once this object is destroyed; read by a delivery that outlives it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orvane
