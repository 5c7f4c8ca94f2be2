#include "app/core/ProgramInfo.h"

#include <QDir>
#include <gtest/gtest.h>

using orvane::InfoOptionText;
using orvane::ProgramFolder;

TEST(InfoOption, AnswersOnlyTheTwoOptionsAsFirstArgument) {
    const auto help = InfoOptionText({"--help"});
    ASSERT_TRUE(help.has_value());
    EXPECT_TRUE(help->startsWith("Usage: orvane [record]\n"));
    EXPECT_TRUE(help->contains("--version"));

    const auto version = InfoOptionText({"--version"});
    ASSERT_TRUE(version.has_value());
    EXPECT_TRUE(version->startsWith("orvane "));
    EXPECT_TRUE(version->contains("Orvane 1.0 beta 2"));
    EXPECT_TRUE(version->endsWith('\n'));

    // Everything else keeps its meaning: the program starts.
    for (const QStringList& args : {QStringList{}, QStringList{"record"}, QStringList{"record", "--help"},
                                    QStringList{"x", "--version"}, QStringList{"--HELP"}, QStringList{"-h"},
                                    QStringList{"--help=1"}, QStringList{""}}) {
        EXPECT_FALSE(InfoOptionText(args).has_value()) << args.join(' ').toStdString();
    }
}

TEST(ProgramFolder, TheExecutableFolderUnlessTheLauncherNamesOne) {
    const QByteArray saved = qgetenv(orvane::kProgramFolderVariable);
    const bool wasSet = qEnvironmentVariableIsSet(orvane::kProgramFolderVariable);

    qunsetenv(orvane::kProgramFolderVariable);
    EXPECT_EQ(ProgramFolder("/opt/x/bin"), "/opt/x/bin");
    qputenv(orvane::kProgramFolderVariable, "");
    EXPECT_EQ(ProgramFolder("/opt/x/bin"), "/opt/x/bin");

    qputenv(orvane::kProgramFolderVariable, "/home/u/.local/share/Orvane/");
    EXPECT_EQ(ProgramFolder("/usr/lib/orvane"), "/home/u/.local/share/Orvane");
    qputenv(orvane::kProgramFolderVariable, "/home/u/./a/../Orvane");
    EXPECT_EQ(ProgramFolder("/usr/lib/orvane"), "/home/u/Orvane");
    qputenv(orvane::kProgramFolderVariable, "rel/Orvane");
    EXPECT_EQ(ProgramFolder("/usr/lib/orvane"), QDir::currentPath() + "/rel/Orvane");

    if (wasSet) {
        qputenv(orvane::kProgramFolderVariable, saved);
    } else {
        qunsetenv(orvane::kProgramFolderVariable);
    }
}
