#pragma once

#include <QString>
#include <functional>

namespace orvane {

// Starts a program and waits for it to end. With hideWhileWaiting true the application's
// visible windows are minimised and hidden during an unbounded wait, then shown again, restored
// and brought to the front. With it false the wait serves the
// application's pending events every 100 ms, and when askedToEnd() turns true meanwhile the
// program is killed. Returns true when the program started and ended with exit code 0.
// Runs on the user-interface thread.
bool RunProcess(const QString& commandLine, bool hideWhileWaiting,
                const std::function<bool()>& askedToEnd = {});

// Writes the setup payload (a self-extracting program carrying the chime library) to
// appDir + "bells.exe", runs it as RunProcess does without hiding, and deletes it (an
// InstallerRun started and finished at once). The setup program writes only
// files that do not exist yet. Any failure ends this silently. Returns the result of the run.
bool InstallChimeLibrary(const QString& appDir, const QString& payloadResource,
                         const std::function<bool()>& askedToEnd = {});

// Fills a temporary sound folder with copies of the wave files of a source folder: creates the
// folder when it is missing, and copies every "*.wav" whose copy is missing or differs from the
// original in size or modification time (the copy takes the original's modification time); a
// copy that matches is kept. A copy is replaced only by a whole new one. Failures are ignored.
void CopySoundFiles(const QString& sourceDir, const QString& tempDir);

}  // namespace orvane
