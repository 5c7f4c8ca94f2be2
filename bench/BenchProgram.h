#pragma once

#include <QString>

namespace bench {

// Copies the built program folder to a folder of a benchmark's own, linking the sound files,
// so that a main window can start on it and write beside itself.
void CopyProgramFolder(const QString& to);

}  // namespace bench
