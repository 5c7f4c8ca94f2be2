#include "app/core/TextFile.h"
#include "chime/core/ScoreText.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

using namespace orvane;

namespace {

// The reference: replace the leftmost occurrence, search again from the start, until none.
QString NaiveReplace(QString text, const QString& pattern, const QString& replacement) {
    for (qsizetype at = text.indexOf(pattern); at >= 0; at = text.indexOf(pattern)) {
        text.replace(at, pattern.size(), replacement);
    }
    return text;
}

QString NaiveNormalise(QString text) {
    const std::vector<std::pair<QString, QString>> rules{
        {"_", "\r\n"}, {"&", "\r\n"}, {"@", "\r\n"}, {"$", "\r\n"}, {"^%", ","},
        {"~", ","},    {"*]", ","},   {")", ","},    {"{", "s"},    {"[}", "m"},
        {"!", "b"},    {"<", ""},     {">", ""}};
    for (const auto& [pattern, replacement] : rules) {
        text = NaiveReplace(text, pattern, replacement);
    }
    return text;
}

// The lines of text, each followed by CR LF.
QString LinesText(const QString& text) {
    QString result;
    for (const QString& line : SplitLines(text)) {
        result += line + QStringLiteral("\r\n");
    }
    return result;
}

QString RandomText(std::mt19937& random, const QString& alphabet, int maxLength) {
    const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    QString text;
    for (int i = 0; i < length; ++i) {
        text.append(alphabet.at(pick(random)));
    }
    return text;
}

}  // namespace

TEST(ScoreText, ExamplesAndOrderOfTheRules) {
    EXPECT_EQ(NormaliseScoreText("{1~[}2)!3"), "s1,m2,b3");
    EXPECT_EQ(NormaliseScoreText("200_s1&m1@#$s<2>"), "200\r\ns1\r\nm1\r\n#\r\ns2");
    // A deletion late in the table forms patterns of earlier rules, which stay.
    EXPECT_EQ(NormaliseScoreText("[<}^>%*<]"), "[}^%*]");
    // "{" becomes "s" before "[}" is looked for; "^^%%" leaves "^,%".
    EXPECT_EQ(NormaliseScoreText("[{}^^%%**]]"), "[s}^,%*,]");
}

TEST(ScoreText, NormalisationEqualsTheRepeatedSearchOnRandomTexts) {
    std::mt19937 random(20240611);
    const QString alphabet = QStringLiteral("_&@$^%~*])({[}!<>smbv#,+-.12\r\n ");
    for (int i = 0; i < 20000; ++i) {
        const QString text = RandomText(random, alphabet, 48);
        ASSERT_EQ(NormaliseScoreText(text), NaiveNormalise(text)) << text.toStdString();
    }
}

TEST(ScoreText, ReplacementsThatFormNewOccurrencesFollowTheRepeatedSearch) {
    // Rules whose replacement joins with the text around it into the pattern again.
    const std::vector<std::pair<QString, QString>> rules{{"ab", ""},   {"ab", "b"},   {"aa", "a"},
                                                         {"aba", "b"}, {"abc", "ab"}, {"ba", "ab"}};
    std::mt19937 random(7);
    for (const auto& [pattern, replacement] : rules) {
        for (int i = 0; i < 3000; ++i) {
            const QString text = RandomText(random, QStringLiteral("abc"), 30);
            ASSERT_EQ(ReplaceRestarting(text, pattern, replacement),
                      NaiveReplace(text, pattern, replacement))
                << pattern.toStdString() << " in " << text.toStdString();
        }
    }
    EXPECT_EQ(ReplaceRestarting("aaaabbbb", u"ab", u""), "");
    EXPECT_THROW(ReplaceRestarting("xaby", u"ab", u"cab"), std::invalid_argument);
    EXPECT_EQ(ReplaceRestarting("xy", u"ab", u"cab"), "xy");
}

TEST(ScoreText, JoiningTheLinesOfAFileThenNormalising) {
    std::mt19937 random(99);
    for (int i = 0; i < 5000; ++i) {
        const QString text = RandomText(random, QStringLiteral("a\r\n"), 12);
        ASSERT_EQ(JoinLines(text), LinesText(text)) << text.toStdString();
    }
    const QString alphabet = QStringLiteral("_&@$^%~*])({[}!<>s1,\r\n\r\n");
    for (int i = 0; i < 20000; ++i) {
        const QString text = RandomText(random, alphabet, 40);
        ASSERT_EQ(JoinAndNormaliseScoreText(text), NaiveNormalise(LinesText(text)))
            << text.toStdString();
    }
}

TEST(ScoreText, LinesOfAFileReadFromTextOrFromBytes) {
    std::mt19937 random(5);
    const QString alphabet = QStringLiteral("_&@$^%~*])({[}!<>s1,\r\n\r\n");
    const auto collect = [](QStringList& lines) {
        return [&lines](const QChar* text, qsizetype length) {
            EXPECT_NE(text, nullptr);
            lines.append(QString(text, length));
        };
    };
    for (int i = 0; i < 20000; ++i) {
        const QString text = RandomText(random, alphabet, 40);
        const QStringList expected = SplitLines(NaiveNormalise(LinesText(text)));
        QStringList fromText;
        ForEachScoreLine(text, collect(fromText));
        ASSERT_EQ(fromText, expected) << text.toStdString();
        QStringList fromBytes;
        ASSERT_TRUE(ForEachScoreLine(text.toLatin1(), collect(fromBytes)));
        ASSERT_EQ(fromBytes, expected) << text.toStdString();
    }
    // A byte of 128 or above is not read as ASCII: nothing is visited.
    QStringList lines;
    EXPECT_FALSE(ForEachScoreLine(QByteArray("s1\r\n\xc0\xe1"), collect(lines)));
    EXPECT_TRUE(lines.isEmpty());
}
