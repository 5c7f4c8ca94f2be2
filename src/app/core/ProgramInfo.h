#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orvane {

// Name of the environment variable through which a launcher names the program folder. When it
// is absent or empty, the program folder is the folder of the executable.
inline constexpr char kProgramFolderVariable[] = "ORVANE_PROGRAM_FOLDER";

// The text that an information option prints, when the first argument (arguments without the
// program name) is "--help" or "--version"; nothing for every other command line, which keeps
// its meaning ("record" or no argument at all).
std::optional<QString> InfoOptionText(const QStringList& arguments);

// Prints the text of an information option to standard output and gives the exit code (0) when
// argv[1] is one; nothing otherwise. Runs before the application object exists: no window, no
// single-instance guard, no start-up step.
std::optional<int> AnswerInfoOption(int argc, char** argv);

// The program folder: the absolute, cleaned path named by kProgramFolderVariable when that is
// set and not empty, otherwise executableDir unchanged.
QString ProgramFolder(const QString& executableDir);

}  // namespace orvane
