#include "app/core/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvane;

TEST(TextFile, LinesEndWithCrLfLfOrCrAndATrailingBreakAddsNoLine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").isEmpty());
    EXPECT_EQ(SplitLines("\r\n"), QStringList{""});
}

TEST(TextFile, WritesWindows1251WithCrLfAndAppends) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/t.kli";
    ASSERT_TRUE(WriteTextLines(path, {QString::fromUtf8("Звон"), "x"}));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xc7\xe2\xee\xed\r\nx\r\n"));
    f.close();
    ASSERT_TRUE(AppendText(path, "y"));
    QStringList lines;
    ASSERT_TRUE(ReadTextLines(path, lines));
    EXPECT_EQ(lines, (QStringList{QString::fromUtf8("Звон"), "x", "y"}));
    EXPECT_FALSE(ReadTextLines(dir.path() + "/missing", lines));
    EXPECT_EQ(NativePath("study\\small\\a.kol"), "study/small/a.kol");
}
