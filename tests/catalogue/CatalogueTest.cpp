#include "app/core/TextFile.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/core/TSoundData.h"
#include "support/RecordingReporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvane;

namespace {

void WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray BellLines(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "Bell " + QByteArray::number(i) + ";b.wav;in.bmp;out.bmp;" + QByteArray::number(100 - i) +
                ";1;" + QByteArray::number(65 + i) + ";note\r\n";
    }
    return text;
}

class ChimeDir : public ::testing::Test {
protected:
    void SetUp() override {
        for (int k = 0; k < 4; ++k) {
            WriteRaw(Path(k), "1;Title;study\\small\\a.kol");
        }
    }
    QString Path(int k) const { return dir.path() + "/" + TSoundData::FileName(k); }
    QString ChimePath() const { return dir.path() + "/"; }
    QTemporaryDir dir;
    RecordingReporter reporter;
};

}  // namespace

TEST(BellCatalogue, LoadsFifteenRowsAndIgnoresTheRest) {
    QTemporaryDir dir;
    const QString desc = dir.path() + "/desc.kli";
    WriteRaw(desc, BellLines(16) + "\xc1\xeb\xe0\xe3\xee\xe2\xe5\xf1\xf2;extra");
    RecordingReporter reporter;
    TBellData data(desc, reporter);
    EXPECT_TRUE(reporter.paths.isEmpty());
    EXPECT_EQ(data.Columns[TBellData::kName].size(), 15);
    EXPECT_EQ(data.Cell(TBellData::kWeight, 14), "86");
    EXPECT_EQ(data.FindByName("bell 3"), 3);
    EXPECT_EQ(data.FindByName("Bell 15"), -1);
}

TEST(BellCatalogue, ShortOrMissingFileIsReportedOnce) {
    QTemporaryDir dir;
    const QString desc = dir.path() + "/desc.kli";
    RecordingReporter reporter;
    { TBellData missing(desc, reporter); }
    EXPECT_EQ(reporter.paths, QStringList{desc} << desc);  // the check, then the missing rows
    reporter.paths.clear();
    WriteRaw(desc, BellLines(14));
    TBellData shortFile(desc, reporter);
    EXPECT_EQ(reporter.paths, QStringList{desc});
    reporter.paths.clear();
    WriteRaw(desc, BellLines(15).replace("note\r\n", "\r\n"));
    TBellData fewFields(desc, reporter);
    EXPECT_EQ(reporter.paths, QStringList{desc});
}

TEST(BellCatalogue, CyrillicNamesAreReadAsWindows1251) {
    QTemporaryDir dir;
    const QString desc = dir.path() + "/desc.kli";
    WriteRaw(desc, "\xc1\xeb\xe0\xe3\xee\xe2\xe5\xf1\xf2;b.wav;i;o;1;1;1;n\n" + BellLines(14));
    RecordingReporter reporter;
    TBellData data(desc, reporter);
    EXPECT_EQ(data.Cell(TBellData::kName, 0), QString::fromUtf8("Благовест"));
    EXPECT_EQ(data.FindByName(QString::fromUtf8("БЛАГОВЕСТ")), 0);
}

TEST_F(ChimeDir, EmptyFileAndExtraFieldsLoadWithoutError) {
    WriteRaw(Path(0), "");
    WriteRaw(Path(3), "001;A b c;common\\x.kol;extra\r\n112;\xcf\xf0\xe0\xe7\xe4\xed\xe8\xea;common\\y.kol\r\n");
    TSoundData data(ChimePath(), reporter);
    EXPECT_TRUE(reporter.paths.isEmpty());
    EXPECT_EQ(data.RowCount(0), 0);
    EXPECT_EQ(data.RowCount(3), 2);
    EXPECT_EQ(data.Cell(3, TSoundData::kTitle, 0), "A b c");
    EXPECT_EQ(data.Cell(3, TSoundData::kTitle, 1), QString::fromUtf8("Праздник"));
    EXPECT_EQ(data.Cell(3, TSoundData::kFile, 0), "common\\x.kol");
}

TEST_F(ChimeDir, FatalCasesNameTheirFile) {
    WriteRaw(Path(2), "1;Two fields");
    {
        TSoundData data(ChimePath(), reporter);
        EXPECT_EQ(reporter.paths, QStringList{Path(2)});
    }
    reporter.paths.clear();
    WriteRaw(Path(2), "1;a;b\r\n\r\n2;c;d");  // an empty line inside is a corrupt record
    {
        TSoundData data(ChimePath(), reporter);
        EXPECT_EQ(reporter.paths, QStringList{Path(2)});
    }
    reporter.paths.clear();
    QFile::remove(Path(1));
    {
        TSoundData data(ChimePath(), reporter);
        EXPECT_EQ(reporter.paths.value(0), Path(1));
    }
}
