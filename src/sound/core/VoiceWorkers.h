#pragma once

#include <QObject>
#include <QThread>
#include <functional>
#include <vector>

namespace orvane {

// A short-lived worker thread whose body does nothing but run one call on the user-interface
// thread and wait for it (a blocking queued call on an object of that thread). The thread ends
// when the call returns. Faults of the body and of the call are swallowed. Created and owned by
// VoiceWorkers, on the user-interface thread.
class TVoiceStream : public QThread {
    Q_OBJECT

  public:
    // uiContext lives in the user-interface thread and outlives the thread; call runs there.
    TVoiceStream(QObject* uiContext, std::function<void()> call);

    // User-interface thread: a call that has not run yet will not run.
    void Cancel() { cancelled_ = true; }
    // User-interface thread: true while the call is on the stack.
    bool CallRunning() const { return inCall_; }
    // User-interface thread: true once the call has returned.
    bool CallDone() const { return done_; }

  protected:
    void run() override;

  private:
    void RunCall();

    QObject* uiContext_;
    std::function<void()> call_;
    // Touched on the user-interface thread only.
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
    using TVoiceStream::TVoiceStream;
};

// Sweeps finished voices for the playback timer, one step below normal priority.
class TReleaseStream final : public TVoiceStream {
    Q_OBJECT

  public:
    static constexpr QThread::Priority kPriority = QThread::LowPriority;
    using TVoiceStream::TVoiceStream;
};

// Starts the workers and owns them. Keeps a reference to the most recently started worker of
// each class (a new start replaces it). A worker is freed on the user-interface thread when it
// has finished; a running one is never destroyed: Shutdown (and the destructor) cancels the
// calls that have not run yet and waits for every worker, without needing the event loop.
// Constructed, used and destroyed on the user-interface thread.
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

    // Calls that have not run yet are dropped; every worker is waited for and freed. A worker
    // whose call is itself running Shutdown (further up the stack) is left to end by itself.
    void Shutdown();

  private:
    struct Entry {
        quint64 id;
        TVoiceStream* worker;
    };

    void Start(TVoiceStream* worker, QThread::Priority priority);
    void Free(quint64 id);
    void Forget(TVoiceStream* worker);

    // Lives in the user-interface thread; the workers' calls are queued on it.
    QObject* context_;
    std::vector<Entry> workers_;
    quint64 nextId_ = 1;
    TKeyStream* keyStream_ = nullptr;
    TReleaseStream* releaseStream_ = nullptr;
    bool shutDown_ = false;
};

}  // namespace orvane
