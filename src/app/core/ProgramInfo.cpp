#include "app/core/ProgramInfo.h"

#include <QDir>

#include <cstdio>

#ifndef ORVANE_VERSION
#define ORVANE_VERSION "0"
#endif

namespace orvane {

std::optional<QString> InfoOptionText(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return std::nullopt;
    }
    if (arguments.first() == QLatin1String("--version")) {
        return QStringLiteral("orvane " ORVANE_VERSION " (Orvane 1.0 beta 2)\n");
    }
    if (arguments.first() == QLatin1String("--help")) {
        return QStringLiteral(
            "Usage: orvane [record]\n"
            "Teaches and simulates the ringing of Russian church bells.\n"
            "\n"
            "  record     show the recording mode (the chime library is not installed at start)\n"
            "  --help     print this help and exit\n"
            "  --version  print the version and exit\n"
            "\n"
            "Settings (orvane.ini), the chime library (Chime/) and the custom chime sets\n"
            "(Custom/) live in the program folder. Installed from the package, that is the\n"
            "folder Orvane in $XDG_DATA_HOME (usually ~/.local/share/Orvane).\n");
    }
    return std::nullopt;
}

std::optional<int> AnswerInfoOption(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    const auto text = InfoOptionText({QString::fromLocal8Bit(argv[1])});
    if (!text) {
        return std::nullopt;
    }
    std::fputs(text->toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

QString ProgramFolder(const QString& executableDir) {
    const QString named = qEnvironmentVariable(kProgramFolderVariable);
    if (named.isEmpty()) {
        return executableDir;
    }
    return QDir::cleanPath(QDir(named).absolutePath());
}

}  // namespace orvane
