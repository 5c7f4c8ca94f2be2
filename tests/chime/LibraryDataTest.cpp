// The shipped chime library, read as the program reads it: every list file loads, every chime
// it names parses into the score it describes, and every chime is offered for some bell set
// the program can build.

#include "app/core/TextFile.h"
#include "catalogue/core/BellSet.h"
#include "catalogue/core/ChimeFilter.h"
#include "catalogue/core/TSoundData.h"
#include "catalogue/core/VariantTable.h"
#include "chime/core/ChimeScore.h"
#include "chime/core/CustomChime.h"
#include "chime/core/TChannels.h"

#include <gtest/gtest.h>
#include <QSet>
#include <QTemporaryDir>

using namespace orvane;

namespace {

const QString kDataDir = QStringLiteral(ORVANE_SOURCE_DIR "/data/");

struct Reporter : BadDataFileReporter {
    QStringList paths;
    void ReportBadDataFile(const QString& path) override { paths.append(path); }
};

struct Observer : ChimeScoreObserver {
    int tempo = 0;
    int duration = 0;
    void ClearGroupFrames(QChar) override {}
    void ShowTempo() override { ++tempo; }
    void ShowTotalDuration() override { ++duration; }
};

// The group signatures of every recommended distribution, and of the largest set the groups
// tree lets the user build (3 small, 7 medium-size, 5 great bells).
QSet<QString> BuildableSignatures() {
    VariantTable table;
    table.Fill();
    QSet<QString> signatures{QStringLiteral("375")};
    for (int size = VariantTable::kMinSize; size <= VariantTable::kMaxSize; ++size) {
        for (int slot = 0; slot < VariantTable::kSlotCount; ++slot) {
            if (!table.HasVariant(size, slot)) {
                continue;
            }
            BellSet set;
            for (int bell = 0; bell < size; ++bell) {
                set.inSet[bell] = true;
            }
            AssignGroupsFromVariant(set, table, size, slot);
            signatures.insert(set.GroupSignature());
        }
    }
    return signatures;
}

}  // namespace

TEST(LibraryData, EveryListedChimeParsesIntoItsSteps) {
    Reporter reporter;
    TSoundData catalogue(kDataDir + "Chime/", reporter);
    ASSERT_TRUE(reporter.paths.isEmpty()) << reporter.paths.join(", ").toStdString();
    int chimes = 0;
    for (int k = 0; k < TSoundData::kCatalogueCount; ++k) {
        for (int row = 0; row < catalogue.RowCount(k); ++row) {
            const QString path = kDataDir + "Chime/" + catalogue.Cell(k, TSoundData::kFile, row);
            SCOPED_TRACE(path.toStdString());
            QStringList lines;
            ASSERT_TRUE(ReadTextLines(NativePath(path), lines));
            TChannels channels;
            channels.StepInterval = 1;
            Observer observer;
            const int target = k == TSoundData::kCommon ? kWholeChime : k;
            ASSERT_NO_THROW(LoadChimeScore(channels, target, path, observer));
            EXPECT_EQ(observer.tempo, 1);
            EXPECT_EQ(observer.duration, 1);
            if (target == kWholeChime) {
                EXPECT_EQ(channels.Steps.size(), lines.size() - 1);
                EXPECT_EQ(channels.StepInterval, lines[0].section(';', 0, 0).toInt());
                EXPECT_EQ(channels.SmallSteps.size(), channels.Steps.size());
            } else {
                EXPECT_EQ(channels.GroupSteps(k).size(),
                          std::min<qsizetype>(lines.size() - 1, 128));
                EXPECT_EQ(channels.Steps.size(), 128);
                EXPECT_EQ(channels.StepInterval, 144);
            }
            ++chimes;
        }
    }
    EXPECT_GE(chimes, 36);
}

TEST(LibraryData, EveryChimeIsOfferedForABellSetTheProgramCanBuild) {
    Reporter reporter;
    TSoundData catalogue(kDataDir + "Chime/", reporter);
    const QSet<QString> signatures = BuildableSignatures();
    EXPECT_GE(signatures.size(), 10);
    for (int k = 0; k < TSoundData::kCatalogueCount; ++k) {
        QSet<QString> offered;
        for (const QString& signature : signatures) {
            const ChimeChoice choice = k == TSoundData::kCommon
                                           ? CommonChimes(catalogue, signature)
                                           : GroupChimes(catalogue, k, signature);
            for (const QString& file : choice.files) {
                offered.insert(file);
            }
        }
        for (int row = 0; row < catalogue.RowCount(k); ++row) {
            const QString file = catalogue.Cell(k, TSoundData::kFile, row);
            EXPECT_TRUE(offered.contains(file)) << file.toStdString() << " is never offered";
        }
    }
}

TEST(LibraryData, EveryCustomChimeIsACustomChimeFileThatParses) {
    QStringList names;
    ASSERT_TRUE(ReadTextLines(kDataDir + "Custom/list.kli", names));
    ASSERT_FALSE(names.isEmpty());
    QTemporaryDir dir;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QStringList lines;
        ASSERT_TRUE(ReadTextLines(CustomChimePath(kDataDir + "Custom/", name), lines));
        const auto chime = ParseCustomChime(lines);
        ASSERT_TRUE(chime);
        const QString path = dir.filePath(name + ".kol");
        ASSERT_TRUE(WriteTextLines(path, chime->score));
        TChannels channels;
        Observer observer;
        LoadChimeScore(channels, kWholeChime, path, observer);
        EXPECT_EQ(channels.Steps.size(), chime->score.size() - 1);
        EXPECT_EQ(channels.StepInterval, chime->score[0].section(';', 0, 0).toInt());
    }
}
