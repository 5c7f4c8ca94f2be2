// Checks the chime library that ships in data/Chime and data/Custom, read through the
// program's own catalogue and text file readers.

#include "app/core/TextFile.h"
#include "catalogue/core/ListFile.h"
#include "catalogue/core/TSoundData.h"
#include "support/RecordingReporter.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <array>

using namespace orvane;

namespace {

const QString kDataDir = QStringLiteral(ORVANE_SOURCE_DIR "/data/");
const QString kChimeDir = kDataDir + "Chime/";
const QString kCustomDir = kDataDir + "Custom/";

// Group letters in group order (small, medium-size, great) and the largest group sizes.
constexpr std::array<char, 3> kLetters = {'s', 'm', 'b'};
constexpr std::array<int, 3> kMaxGroupSize = {3, 7, 5};

// Group signatures of the recommended distributions for 5 to 15 bells.
const QStringList kVariantSignatures = {"221", "231", "331", "241", "341", "332",
                                        "342", "352", "343", "353", "362", "363",
                                        "372", "373", "374", "365", "375"};

QByteArray ReadRaw(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Line ends are CR LF only, and the bytes survive a round trip through Windows-1251.
void ExpectWellFormedText(const QString& path, const QByteArray& raw) {
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n') {
            ASSERT_TRUE(i > 0 && raw[i - 1] == '\r') << path.toStdString() << " offset " << i;
        } else if (raw[i] == '\r') {
            ASSERT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n') << path.toStdString();
        }
    }
    EXPECT_EQ(EncodeText(DecodeText(raw)), raw) << path.toStdString();
}

// Checks the step lines of a score (header at lines[first]) and returns the step count. Every
// bell mark must name a group whose size is given and a rank from 1 to that size.
int CheckScore(const QString& path, const QStringList& lines, int first,
               const std::array<int, 3>& groupSizes) {
    const std::string where = path.toStdString();
    EXPECT_GT(lines.size(), first + 1) << where;
    if (lines.size() <= first + 1) {
        return 0;
    }
    static const QRegularExpression header(QStringLiteral("^[0-9]+(;([smb]-)(,[smb]-)*)?$"));
    EXPECT_TRUE(header.match(lines[first]).hasMatch())
        << where << ": " << lines[first].toStdString();
    QStringList marks;
    for (int i = first + 1; i < lines.size(); ++i) {
        SplitString(lines[i], QStringLiteral(","), &marks);
        for (const QString& mark : marks) {
            const int group =
                static_cast<int>(std::find(kLetters.begin(), kLetters.end(),
                                           mark.isEmpty() ? '?' : mark[0].toLatin1()) -
                                 kLetters.begin());
            const bool wellFormed = mark.size() == 2 && group < 3 && mark[1].isDigit();
            EXPECT_TRUE(wellFormed)
                << where << " line " << i + 1 << ": '" << mark.toStdString() << "'";
            if (wellFormed) {
                const int rank = mark[1].digitValue();
                EXPECT_TRUE(rank >= 1 && rank <= groupSizes[group])
                    << where << " line " << i + 1 << ": " << mark.toStdString()
                    << " needs more bells than the requirement guarantees";
            }
        }
    }
    return static_cast<int>(lines.size()) - first - 1;
}

}  // namespace

TEST(ShippedChimeLibrary, CataloguesLoadAndEveryChimeFitsItsRequirement) {
    RecordingReporter reporter;
    TSoundData catalogue(kChimeDir, reporter);
    EXPECT_TRUE(reporter.paths.isEmpty()) << reporter.paths.join(", ").toStdString();

    const std::array<int, 4> minimumRows = {8, 8, 8, 12};
    const std::array<QString, 3> studyFolders = {"study\\small\\", "study\\middle\\",
                                                 "study\\great\\"};
    for (int k = 0; k < TSoundData::kCatalogueCount; ++k) {
        const QString listPath = kChimeDir + TSoundData::FileName(k);
        const QByteArray raw = ReadRaw(listPath);
        ExpectWellFormedText(listPath, raw);
        EXPECT_FALSE(raw.endsWith('\n')) << "records are appended as CR LF + record";
        EXPECT_GE(catalogue.RowCount(k), minimumRows[k]) << listPath.toStdString();

        for (int row = 0; row < catalogue.RowCount(k); ++row) {
            const QString requirement = catalogue.Cell(k, TSoundData::kRequirement, row);
            const QString file = catalogue.Cell(k, TSoundData::kFile, row);
            const QString path = kChimeDir + NativePath(file);
            SCOPED_TRACE(file.toStdString());
            EXPECT_FALSE(catalogue.Cell(k, TSoundData::kTitle, row).isEmpty());
            std::array<int, 3> sizes = {0, 0, 0};
            if (k < 3) {
                ASSERT_TRUE(QRegularExpression("^[1-9]$").match(requirement).hasMatch());
                EXPECT_LE(requirement.toInt(), kMaxGroupSize[k]);
                EXPECT_TRUE(file.startsWith(studyFolders[k]));
                sizes[k] = requirement.toInt();
            } else {
                ASSERT_TRUE(QRegularExpression("^[0-9]{3}$").match(requirement).hasMatch());
                EXPECT_TRUE(file.startsWith("common\\"));
                for (int g = 0; g < 3; ++g) {
                    sizes[g] = requirement[g].digitValue();
                    EXPECT_LE(sizes[g], kMaxGroupSize[g]);
                }
            }
            ASSERT_TRUE(QFileInfo(path).isFile());
            ExpectWellFormedText(path, ReadRaw(path));
            QStringList lines;
            ASSERT_TRUE(ReadTextLines(path, lines));
            const int steps = CheckScore(path, lines, 0, sizes);
            if (k < 3) {
                EXPECT_LE(steps, 128);
                EXPECT_TRUE(QRegularExpression("^[0-9]+$").match(lines[0]).hasMatch());
            } else {
                EXPECT_GE(steps, 100);
                EXPECT_GE(lines[0].section(';', 0, 0).toInt(), 100);
                EXPECT_LE(lines[0].section(';', 0, 0).toInt(), 400);
            }
        }
    }
}

TEST(ShippedChimeLibrary, EveryRecommendedBellSetHasChimesToPlay) {
    RecordingReporter reporter;
    TSoundData catalogue(kChimeDir, reporter);
    for (const QString& signature : kVariantSignatures) {
        SCOPED_TRACE(signature.toStdString());
        for (int g = 0; g < 3; ++g) {
            int offered = 0;
            for (int row = 0; row < catalogue.RowCount(g); ++row) {
                offered +=
                    QString(signature[g]) >= catalogue.Cell(g, TSoundData::kRequirement, row);
            }
            EXPECT_GE(offered, 2) << "group " << g;
        }
        int whole = 0;
        for (int row = 0; row < catalogue.RowCount(TSoundData::kCommon); ++row) {
            const QString requirement =
                catalogue.Cell(TSoundData::kCommon, TSoundData::kRequirement, row);
            bool fits = true;
            for (int g = 0; g < 3; ++g) {
                fits = fits && requirement[g].digitValue() <= signature[g].digitValue();
            }
            whole += fits;
        }
        EXPECT_GE(whole, 5);
    }
}

TEST(ShippedChimeLibrary, CustomChimeSetsCarryAValidBellSetAndFitIt) {
    const QByteArray rawList = ReadRaw(kCustomDir + "list.kli");
    ExpectWellFormedText(kCustomDir + "list.kli", rawList);
    EXPECT_FALSE(rawList.endsWith('\n'));
    QStringList names;
    ASSERT_TRUE(ReadTextLines(kCustomDir + "list.kli", names));
    EXPECT_GE(names.size(), 5);
    QStringList bellSets;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_FALSE(name.isEmpty());
        const QString path = kCustomDir + name + ".kol";
        ASSERT_TRUE(QFileInfo(path).isFile());
        ExpectWellFormedText(path, ReadRaw(path));
        QStringList lines;
        ASSERT_TRUE(ReadTextLines(path, lines));
        ASSERT_GE(lines.size(), 6);
        const QString bells = lines[0];
        const QString types = lines[1];
        ASSERT_TRUE(QRegularExpression("^[01]{15}$").match(bells).hasMatch());
        ASSERT_TRUE(QRegularExpression("^[smbn]{15}$").match(types).hasMatch());
        std::array<int, 3> sizes = {0, 0, 0};
        for (int bell = 0; bell < 15; ++bell) {
            const int group = static_cast<int>(
                std::find(kLetters.begin(), kLetters.end(), types[bell].toLatin1()) -
                kLetters.begin());
            if (bells[bell] != '1') {
                EXPECT_EQ(types[bell], 'n') << "bell " << bell;
                continue;
            }
            ASSERT_LT(group, 3) << "bell " << bell << " is in the set without a group";
            ++sizes[group];
            if (group == 0) {
                EXPECT_GE(bell, 11) << "only bells 11 to 14 may be small";
            }
        }
        for (int g = 0; g < 3; ++g) {
            EXPECT_LE(sizes[g], kMaxGroupSize[g]);
        }
        EXPECT_FALSE(lines[2].isEmpty());
        EXPECT_FALSE(lines[3].isEmpty());
        EXPECT_GE(CheckScore(path, lines, 4, sizes), 100);
        bellSets.append(bells + types);
    }
    bellSets.removeDuplicates();
    EXPECT_EQ(bellSets.size(), names.size()) << "each custom chime set has its own bell set";
}
