#include "app/core/TextFile.h"
#include "catalogue/core/ListFile.h"
#include "chime/core/ChimeScore.h"

#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <random>

using namespace orvane;

namespace {

class RecordingObserver : public ChimeScoreObserver {
  public:
    void ClearGroupFrames(QChar letter) override { calls << QStringLiteral("clear ") + letter; }
    void ShowTempo() override { calls << QStringLiteral("tempo"); }
    void ShowTotalDuration() override { calls << QStringLiteral("duration"); }
    QStringList calls;
};

class ChimeScoreTest : public ::testing::Test {
  protected:
    // Writes the bytes as a score file and returns its path.
    QString Write(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("score%1.kol").arg(++files_));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    void Load(int target, const QByteArray& bytes) {
        LoadChimeScore(channels_, target, Write(bytes), observer_);
    }

    QTemporaryDir dir_;
    int files_ = 0;
    TChannels channels_;
    RecordingObserver observer_;
};

const QByteArray kExample = "200;b-\r\ns1,m1\r\n#\r\n\r\ns2\r\nv-2,b1,b2\r\n";

}  // namespace

TEST_F(ChimeScoreTest, WholeChimeExample) {
    Load(kWholeChime, kExample);
    EXPECT_EQ(channels_.Steps, QStringList({"s1,m1", "#", "", "s2", "v-2,b1,b2"}));
    EXPECT_EQ(channels_.SmallSteps, QStringList({"s1", "", "", "s2", ""}));
    EXPECT_EQ(channels_.MiddleSteps, QStringList({"m1", "", "", "", ""}));
    EXPECT_EQ(channels_.BigSteps, QStringList({"", "", "", "", "b1,b2"}));
    EXPECT_EQ(channels_.StepInterval, 200);
    EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{true, true, false}));
    EXPECT_EQ(observer_.calls, QStringList({"clear b", "tempo", "duration"}));
}

TEST_F(ChimeScoreTest, ShorthandCharactersReadLikeTheirPlainForms) {
    Load(kWholeChime, "200;b-_s1,m1_#__s2_v-2,b1,b2");
    EXPECT_EQ(channels_.Steps, QStringList({"s1,m1", "#", "", "s2", "v-2,b1,b2"}));

    Load(kWholeChime, "3<0>0\r\n{1~[}2)!3\r\ns<1\n\rs2_\r\n");
    EXPECT_EQ(channels_.StepInterval, 300);
    // "_" at the end of a line breaks it once more.
    EXPECT_EQ(channels_.Steps, QStringList({"s1,m2,b3", "s1", "", "s2", ""}));

    // The file's own line breaks count before the deletions: "<" alone on a line leaves an
    // empty step. Windows-1251 letters are decoded.
    Load(kWholeChime, "200\r<\ns1\r\n\xf1\x31");
    EXPECT_EQ(channels_.Steps, QStringList({"", "s1", QString::fromUtf8("с1")}));
    EXPECT_EQ(channels_.SmallSteps, QStringList({"", "s1", ""}));
}

TEST_F(ChimeScoreTest, HeaderIntervalAndGroupMarks) {
    Load(kWholeChime, "250\r\ns1");
    EXPECT_EQ(channels_.StepInterval, 250);
    Load(kSmallStudyChime, "250\r\ns1");
    EXPECT_EQ(channels_.StepInterval, kStudyChimeInterval);

    observer_.calls.clear();
    Load(kWholeChime, "250;m-\r\nm1");
    EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(observer_.calls, QStringList({"clear m", "tempo", "duration"}));

    // Only the first two characters count; short and unknown items are ignored; fields after
    // the second are ignored.
    observer_.calls.clear();
    Load(kWholeChime, "300;b-x,m,mm,x-,s-;m-\r\n");
    EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(observer_.calls, QStringList({"clear s", "clear b", "tempo", "duration"}));
    EXPECT_TRUE(channels_.Steps.isEmpty());

    // Intervals outside the tempo range are brought to its ends.
    Load(kWholeChime, "20\r\ns1");
    EXPECT_EQ(channels_.StepInterval, kMinStepInterval);
    Load(kWholeChime, "5000\r\ns1");
    EXPECT_EQ(channels_.StepInterval, kMaxStepInterval);
}

TEST_F(ChimeScoreTest, BadHeaderKeepsTheIntervalAndAnimatesAllGroups) {
    channels_.StepInterval = 300;
    channels_.GroupAnimation = {false, false, false};
    Load(kWholeChime, "abc;s-\r\ns1,b1\r\n");
    EXPECT_EQ(channels_.StepInterval, 300);
    EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(channels_.Steps, QStringList({"s1,b1"}));
    EXPECT_EQ(observer_.calls, QStringList({"tempo", "duration"}));

    observer_.calls.clear();
    Load(kWholeChime, "\r\ns2");
    EXPECT_EQ(channels_.StepInterval, 300);
    EXPECT_EQ(channels_.Steps, QStringList({"s2"}));
}

// The header's first field is a decimal integer: the hexadecimal forms the settings file
// accepts are bad headers here, and a leading zero is still decimal.
TEST_F(ChimeScoreTest, HeaderIntervalIsDecimalOnly) {
    for (const char* header : {"0x100", "0X100", "$100", "-0x10"}) {
        channels_.StepInterval = 300;
        Load(kWholeChime, QByteArray(header) + ";b-\r\ns1");
        EXPECT_EQ(channels_.StepInterval, 300) << header;
        EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{true, true, true})) << header;
    }
    Load(kWholeChime, "0100;b-\r\ns1");
    EXPECT_EQ(channels_.StepInterval, 100);
    EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{true, true, false}));
}

TEST_F(ChimeScoreTest, EmptyOrMissingFileChangesNothingButTheFlags) {
    Load(kWholeChime, kExample);
    channels_.GroupAnimation = {false, false, false};
    observer_.calls.clear();

    LoadChimeScore(channels_, kWholeChime, dir_.filePath("missing.kol"), observer_);
    EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(channels_.Steps.size(), 5);

    Load(kWholeChime, "");
    EXPECT_EQ(channels_.GroupAnimation, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(channels_.Steps.size(), 5);
    EXPECT_EQ(channels_.SmallSteps.size(), 5);
    EXPECT_EQ(channels_.StepInterval, 200);
    EXPECT_TRUE(observer_.calls.isEmpty());
}

TEST_F(ChimeScoreTest, StudyChimesKeep128StepsAndPlayTogether) {
    QByteArray small = "100\r\n";
    for (int i = 0; i < 200; ++i) {
        small += "s" + QByteArray::number(i % 10) + "\r\n";
    }
    Load(kSmallStudyChime, small);
    ASSERT_EQ(channels_.SmallSteps.size(), kStudyChimeSteps);
    EXPECT_EQ(channels_.SmallSteps.last(), "s7");
    EXPECT_EQ(channels_.Steps.size(), kStudyChimeSteps);

    // Marks are not filtered by their letter.
    QByteArray great = "100\r\n";
    for (int i = 0; i < 10; ++i) {
        great += "b1,s2\r\n";
    }
    Load(kGreatStudyChime, great);
    EXPECT_EQ(channels_.BigSteps.size(), 10);
    ASSERT_EQ(channels_.Steps.size(), kStudyChimeSteps);
    EXPECT_EQ(channels_.Steps[9], "s9,b1,s2");
    EXPECT_EQ(channels_.Steps[10], "s0");
    EXPECT_TRUE(channels_.RawLines.isEmpty());

    // Replacing the small chime keeps the great one.
    Load(kSmallStudyChime, "100\r\nm3");
    EXPECT_EQ(channels_.Steps[0], "m3,b1,s2");
    EXPECT_EQ(channels_.Steps[1], "b1,s2");
    EXPECT_EQ(channels_.Steps[10], "");
}

TEST(ChimeScoreGroups, SplitByGroup) {
    TChannels channels;
    channels.Steps = {"s1,#,m2,v+2,b1,s2", "s,s2", "s1,,s2,", "m1,x", "b1,b2", "s", "", "b"};
    SplitByGroup(channels);
    EXPECT_EQ(channels.SmallSteps, QStringList({"s1,s2", "ss2", "s1,s2", "", "", "s", "", ""}));
    EXPECT_EQ(channels.MiddleSteps, QStringList({"m2", "", "", "m1", "", "", "", ""}));
    EXPECT_EQ(channels.BigSteps, QStringList({"b1", "", "", "", "b1,b2", "", "", "b"}));
}

TEST(ChimeScoreGroups, SplitByGroupOnRandomLinesFollowsTheRule) {
    // The rule, written plainly: the marks of the letter in order, a "," put only after a text
    // longer than one character.
    auto groupText = [](const QString& line, QChar letter) {
        QStringList marks;
        SplitString(line, QStringLiteral(","), &marks);
        QString text;
        for (const QString& mark : marks) {
            if (!mark.isEmpty() && mark.at(0) == letter) {
                text += text.size() > 1 ? QStringLiteral(",") + mark : mark;
            }
        }
        return text;
    };
    std::mt19937 random(5);
    const QString alphabet = QStringLiteral("smb1x,,#");
    TChannels channels;
    for (int i = 0; i < 5000; ++i) {
        QString line;
        for (int n = std::uniform_int_distribution<int>(0, 12)(random); n > 0; --n) {
            line += alphabet.at(std::uniform_int_distribution<int>(0, alphabet.size() - 1)(random));
        }
        channels.Steps << line;
    }
    SplitByGroup(channels);
    for (int i = 0; i < channels.Steps.size(); ++i) {
        const QString& line = channels.Steps.at(i);
        ASSERT_EQ(channels.SmallSteps.at(i), groupText(line, u's')) << line.toStdString();
        ASSERT_EQ(channels.MiddleSteps.at(i), groupText(line, u'm')) << line.toStdString();
        ASSERT_EQ(channels.BigSteps.at(i), groupText(line, u'b')) << line.toStdString();
    }
}

TEST(ChimeScoreGroups, SplitByGroupOverListsThatHeldTextsGivesWhatEmptyListsGet) {
    // Group lists longer and shorter than the steps, one of them shared with a copy that must
    // not change; repeated short lines and lines too long to be shared.
    const QStringList steps = {"s1,m1",  "b1,b2", "s1,m1", "", "m1,m2,m3,m4,m5,m6,b1,s1", "#",
                               "b1,b2",  "s2",    "s1,m1", "", "m1,m2,m3,m4,m5,m6,b1,s1"};
    TChannels reused;
    reused.SmallSteps = QStringList(40, QStringLiteral("s5"));
    reused.MiddleSteps = {QStringLiteral("m9")};
    reused.BigSteps = QStringList(11, QStringLiteral("b3,b4"));
    const QStringList kept = reused.BigSteps;
    for (const QStringList& next : {steps, steps.mid(0, 3), steps + steps}) {
        reused.Steps = next;
        TChannels fresh;
        fresh.Steps = next;
        SplitByGroup(reused);
        SplitByGroup(fresh);
        for (int g = 0; g < 3; ++g) {
            ASSERT_EQ(reused.GroupSteps(g), fresh.GroupSteps(g)) << next.size();
        }
    }
    EXPECT_EQ(kept, QStringList(11, QStringLiteral("b3,b4")));
}

TEST(ChimeScoreGroups, MergeGroups) {
    TChannels channels;
    channels.SmallSteps = {"s1", "", "s"};
    channels.MiddleSteps = {"", "m1", "m1", "m2"};
    channels.BigSteps = {"b2"};
    channels.RawLines = {"scratch"};
    MergeGroups(channels);
    ASSERT_EQ(channels.Steps.size(), kStudyChimeSteps);
    EXPECT_EQ(channels.Steps.mid(0, 5), QStringList({"s1,b2", "m1", "sm1", "m2", ""}));
    EXPECT_TRUE(channels.RawLines.isEmpty());
}

TEST(ChimeScoreGroups, FindGroupBell) {
    BellSet set;
    for (int row : {0, 2, 5}) {
        set.inSet[row] = true;
        set.group[row] = kGreatGroup;
    }
    for (int row : {14, 13, 11}) {
        set.inSet[row] = true;
        set.group[row] = kSmallGroup;
    }
    set.inSet[7] = true;          // in the set without a group
    set.group[12] = kSmallGroup;  // a group but out of the set
    EXPECT_EQ(FindGroupBell(u'b', 1, set), 0);
    EXPECT_EQ(FindGroupBell(u'b', 2, set), 2);
    EXPECT_EQ(FindGroupBell(u'b', 4, set), 14);
    EXPECT_EQ(FindGroupBell(u'b', 0, set), 14);
    EXPECT_EQ(FindGroupBell(u's', 1, set), 14);
    EXPECT_EQ(FindGroupBell(u's', 3, set), 11);
    EXPECT_EQ(FindGroupBell(u'm', 1, set), 14);
    EXPECT_EQ(FindGroupBell(u'x', 1, set), 7);
}

TEST(ChimeLibrary, EveryChimeOfTheLibraryLoads) {
    QDirIterator files(QStringLiteral(ORVANE_SOURCE_DIR "/data/Chime"), {"*.kol"}, QDir::Files,
                       QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        QStringList lines;
        ASSERT_TRUE(ReadTextLines(path, lines)) << path.toStdString();
        ASSERT_FALSE(lines.isEmpty()) << path.toStdString();
        TChannels channels;
        RecordingObserver observer;
        LoadChimeScore(channels, kWholeChime, path, observer);
        EXPECT_EQ(channels.Steps, lines.mid(1)) << path.toStdString();
        EXPECT_EQ(channels.SmallSteps.size(), channels.Steps.size());
        EXPECT_EQ(channels.StepInterval, lines.first().section(u';', 0, 0).toInt());
        EXPECT_EQ(observer.calls.mid(observer.calls.size() - 2),
                  QStringList({"tempo", "duration"}));
        ++count;
    }
    EXPECT_GT(count, 10);
}

TEST_F(ChimeScoreTest, LoadsIntoAContainerThatHeldAScoreGiveWhatAFreshContainerGets) {
    // Scores of many repeated lines (shared copies) and of long ones, larger and smaller than
    // the score before, whole chimes and study chimes, and a copy of the played list taken by
    // someone else that must not change.
    std::mt19937 random(11);
    const QByteArray marks[] = {"s1", "m2", "b1,b2", "#", "", "v+1.5,s2", "m1,m2,m3,m4,m5,m6,m7,b1"};
    const auto makeScore = [&](int steps) {
        QByteArray text = "180;m-\r\n";
        for (int i = 0; i < steps; ++i) {
            text += marks[random() % std::size(marks)];
            text += (random() % 5 == 0) ? "_" : "\r\n";
        }
        return text;
    };
    const int targets[] = {kWholeChime, kWholeChime, kSmallStudyChime, kWholeChime, kGreatStudyChime,
                           kWholeChime};
    const int sizes[] = {3000, 40, 300, 5000, 10, 1};
    QStringList kept;
    for (int i = 0; i < int(std::size(targets)); ++i) {
        const QString path = Write(makeScore(sizes[i]));
        // The same state in lists of their own, so that channels_ keeps its storage unshared.
        TChannels fresh;
        for (QStringList TChannels::*list : {&TChannels::SmallSteps, &TChannels::MiddleSteps,
                                             &TChannels::BigSteps, &TChannels::Steps,
                                             &TChannels::RawLines}) {
            for (const QString& line : channels_.*list) {
                (fresh.*list).append(line);
            }
        }
        fresh.StepInterval = channels_.StepInterval;
        if (i == 2) {
            kept = channels_.Steps;
        }
        const QStringList keptBefore = kept;
        RecordingObserver observer;
        LoadChimeScore(channels_, targets[i], path, observer_);
        LoadChimeScore(fresh, targets[i], path, observer);
        ASSERT_EQ(channels_.Steps, fresh.Steps) << i;
        ASSERT_EQ(channels_.RawLines, fresh.RawLines) << i;
        for (int g = 0; g < 3; ++g) {
            ASSERT_EQ(channels_.GroupSteps(g), fresh.GroupSteps(g)) << i;
        }
        ASSERT_EQ(kept, keptBefore);
    }
}
