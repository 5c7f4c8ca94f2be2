#pragma once

#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

namespace orvane {

// One run of the chime library installer: the setup payload (a self-extracting program
// carrying the library) is written to appDir + "bells.exe" and run, and the file is deleted
// when it has ended. Writing and running happen on a thread of its own from Start() on, so the
// program starts the run as soon as it holds the single-instance claim and builds its window
// meanwhile; the start-up sequence waits for it at its installer step (Finish).
//
// Threads: Start, Finish and the destructor on one thread (the user-interface thread).
class InstallerRun {
  public:
    // Starts writing and running the payload. Null when the payload cannot be read; a file
    // that cannot be written or a program that cannot be started is reported by Finish().
    static std::unique_ptr<InstallerRun> Start(const QString& appDir, const QString& payloadResource);
    // Ends an unfinished run as an end request does: the installer is killed, its file deleted.
    ~InstallerRun();
    InstallerRun(const InstallerRun&) = delete;
    InstallerRun& operator=(const InstallerRun&) = delete;

    // Waits for the installer to end, serving the application's pending events every 100 ms;
    // when askedToEnd() turns true meanwhile the installer is killed. Then deletes the file.
    // True when it was written, started and ended with exit code 0. Only the first call
    // waits; later calls give the same answer.
    bool Finish(const std::function<bool()>& askedToEnd = {});

  private:
    InstallerRun(QString target, QByteArray payload);
    void Run();

    const QString target_;
    const QByteArray payload_;  // refers to the program's own image where it can
    // The environment as it was at Start(): the window thread may change its own meanwhile.
    const std::vector<std::string> environment_;
    std::mutex mutex_;
    std::condition_variable ended_;
    pid_t pid_ = 0;
    bool cancelled_ = false;
    bool done_ = false;
    bool ok_ = false;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace orvane
