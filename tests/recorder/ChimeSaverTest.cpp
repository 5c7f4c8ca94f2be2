#include "app/core/TextFile.h"
#include "chime/core/ChimeNameCheck.h"
#include "chime/core/ChimeSaver.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace orvane;

namespace {

// A Chime folder with the four list files, each holding one record.
class ChimeSaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        QDir(root.path()).mkpath("Chime/my");
        for (const char* list : {"common.kli", "small.kli", "middle.kli", "big.kli"}) {
            Write(QString::fromLatin1(list), "1;old;old.kol\r\n");
        }
    }

    QString Chime(const QString& relative = {}) const { return root.path() + "/Chime/" + relative; }
    void Write(const QString& relative, const QByteArray& bytes) {
        QFile f(Chime(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray Read(const QString& relative) const {
        QFile f(Chime(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ChimeSaveRequest Request(const QString& fileName, const QString& name = "abc") const {
        ChimeSaveRequest r;
        r.chimeDir = Chime();
        r.fileName = fileName;
        r.chimeName = name;
        r.signature = "231";
        r.recording = {"144", "s1,m2", "b1,#"};
        return r;
    }

    QTemporaryDir root;
};

}  // namespace

TEST_F(ChimeSaverTest, ExtensionTestIsCaseSensitive) {
    ASSERT_EQ(SaveChime(Request("abc.KOL")), ChimeSaveOutcome::kSaved);
    EXPECT_TRUE(QFile::exists(Chime("abc.KOL.kol")));
    EXPECT_EQ(Read("common.kli"), "1;old;old.kol\r\n231;abc;abc.KOL.kol");
    EXPECT_EQ(WithChimeExtension("a.kol"), "a.kol");
    EXPECT_EQ(WithChimeExtension("my.dir\\abc"), "my.dir\\abc.kol");
}

TEST_F(ChimeSaverTest, OnlyTheSmallBoxWritesAndRegistersTheSmallStudyChime) {
    ChimeSaveRequest r = Request("abc");
    r.whole = false;
    r.small = true;
    ASSERT_EQ(SaveChime(r), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("small_abc.kol"), "144\r\ns1\r\n\r\n");
    EXPECT_FALSE(QFile::exists(Chime("abc.kol")));
    EXPECT_EQ(Read("small.kli"), "1;old;old.kol\r\n2;abc;small_abc.kol");
    EXPECT_EQ(Read("common.kli"), "1;old;old.kol\r\n");
    EXPECT_EQ(Read("middle.kli"), "1;old;old.kol\r\n");
    EXPECT_EQ(Read("big.kli"), "1;old;old.kol\r\n");
}

TEST_F(ChimeSaverTest, StudyChimesHoldOnlyTheirGroupAndTheWholeChimeKeepsEverything) {
    ChimeSaveRequest r = Request("abc");
    r.small = r.middle = r.big = true;
    ASSERT_EQ(SaveChime(r), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("small_abc.kol"), "144\r\ns1\r\n\r\n");
    EXPECT_EQ(Read("middle_abc.kol"), "144\r\nm2\r\n\r\n");
    EXPECT_EQ(Read("big_abc.kol"), "144\r\n\r\nb1\r\n");
    EXPECT_EQ(Read("abc.kol"), "144\r\ns1,m2\r\nb1,#\r\n");
    EXPECT_EQ(Read("big.kli"), "1;old;old.kol\r\n1;abc;big_abc.kol");
}

TEST_F(ChimeSaverTest, FestiveExampleWithSubFolder) {
    ChimeSaveRequest r = Request("my\\festive", QString::fromUtf8("Праздничный"));
    r.middle = true;
    ASSERT_EQ(SaveChime(r), ChimeSaveOutcome::kSaved);
    EXPECT_TRUE(QFile::exists(Chime("my/festive.kol")));
    EXPECT_TRUE(QFile::exists(Chime("my/middle_festive.kol")));
    EXPECT_EQ(Read("middle.kli"),
              "1;old;old.kol\r\n" +
                  EncodeText(QString::fromUtf8("3;Праздничный;my\\middle_festive.kol")));
    EXPECT_EQ(
        Read("common.kli"),
        "1;old;old.kol\r\n" + EncodeText(QString::fromUtf8("231;Праздничный;my\\festive.kol")));
    // A "/" separator is accepted and registered with "\".
    ChimeSaveRequest slash = Request("my/second");
    ASSERT_EQ(SaveChime(slash), ChimeSaveOutcome::kSaved);
    EXPECT_TRUE(QFile::exists(Chime("my/second.kol")));
    EXPECT_TRUE(Read("common.kli").endsWith("\r\n231;abc;my\\second.kol"));
}

TEST_F(ChimeSaverTest, SavingTwiceRegistersTwice) {
    ASSERT_EQ(SaveChime(Request("abc")), ChimeSaveOutcome::kSaved);
    ASSERT_EQ(SaveChime(Request("abc")), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("common.kli"), "1;old;old.kol\r\n231;abc;abc.kol\r\n231;abc;abc.kol");
    EXPECT_EQ(Read("abc.kol"), "144\r\ns1,m2\r\nb1,#\r\n");
}

TEST_F(ChimeSaverTest, AppendingNeverLeavesAnEmptyLine) {
    Write("common.kli", "");
    ASSERT_EQ(SaveChime(Request("abc")), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("common.kli"), "231;abc;abc.kol");
    Write("common.kli", "1;x;x.kol\n");
    ASSERT_EQ(SaveChime(Request("abc")), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("common.kli"), "1;x;x.kol\n231;abc;abc.kol");
    Write("common.kli", "1;x;x.kol");
    ASSERT_EQ(SaveChime(Request("abc")), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("common.kli"), "1;x;x.kol\r\n231;abc;abc.kol");
    QFile::remove(Chime("common.kli"));
    ASSERT_EQ(SaveChime(Request("abc")), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("common.kli"), "231;abc;abc.kol");
}

TEST_F(ChimeSaverTest, RefusesEmptyFieldsAndMissingFolders) {
    EXPECT_EQ(SaveChime(Request("", "name")), ChimeSaveOutcome::kFieldsMissing);
    EXPECT_EQ(SaveChime(Request("abc", "")), ChimeSaveOutcome::kFieldsMissing);
    EXPECT_EQ(SaveChime(Request("none\\abc")), ChimeSaveOutcome::kDirectoryMissing);
    EXPECT_EQ(SaveMessage(ChimeSaveOutcome::kFieldsMissing),
              QString::fromUtf8("Не все поля формы заполнены"));
    EXPECT_EQ(SaveMessage(ChimeSaveOutcome::kDirectoryMissing),
              QString::fromUtf8("Указанная директория не найдена"));
    EXPECT_TRUE(SaveMessage(ChimeSaveOutcome::kSaved).isEmpty());
    ChimeSaveRequest empty = Request("abc");
    empty.recording.clear();
    EXPECT_EQ(SaveChime(empty), ChimeSaveOutcome::kEmptyRecording);
    EXPECT_EQ(Read("common.kli"), "1;old;old.kol\r\n");
    EXPECT_FALSE(QFile::exists(Chime("abc.kol")));
}

TEST_F(ChimeSaverTest, NeverWritesOutsideTheChimeFolder) {
    const QString outside = root.path() + "/outside";
    QDir().mkpath(outside);
    EXPECT_EQ(SaveChime(Request("..\\outside\\abc")), ChimeSaveOutcome::kDirectoryMissing);
    EXPECT_EQ(SaveChime(Request("my\\..\\..\\outside\\abc")), ChimeSaveOutcome::kDirectoryMissing);
    EXPECT_EQ(SaveChime(Request(outside + "/abc")), ChimeSaveOutcome::kDirectoryMissing);
    ASSERT_TRUE(QFile::link(outside, Chime("link")));
    EXPECT_EQ(SaveChime(Request("link\\abc")), ChimeSaveOutcome::kDirectoryMissing);
    // A chime file that is a link out of the folder is not followed either.
    ASSERT_TRUE(QFile::link(outside + "/victim.kol", Chime("trap.kol")));
    EXPECT_EQ(SaveChime(Request("trap")), ChimeSaveOutcome::kDirectoryMissing);
    EXPECT_TRUE(QDir(outside).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(Read("common.kli"), "1;old;old.kol\r\n");
}

TEST_F(ChimeSaverTest, ChimeFilesAreReplacedWhole) {
    Write("abc.kol", QByteArray(5000, 'x'));
    ASSERT_EQ(SaveChime(Request("abc")), ChimeSaveOutcome::kSaved);
    EXPECT_EQ(Read("abc.kol"), "144\r\ns1,m2\r\nb1,#\r\n");
}

TEST_F(ChimeSaverTest, RegistrationCanBeSwitchedOff) {
    ChimeSaveRequest r = Request("abc");
    r.registerChimes = false;
    ASSERT_EQ(SaveChime(r), ChimeSaveOutcome::kSaved);
    EXPECT_TRUE(QFile::exists(Chime("abc.kol")));
    EXPECT_EQ(Read("common.kli"), "1;old;old.kol\r\n");
}

TEST_F(ChimeSaverTest, NamesAListFileCannotHoldAreRefusedBeforeAnythingIsWritten) {
    const QByteArray before = Read("common.kli");
    for (const auto& [file, name] : std::initializer_list<std::pair<QString, QString>>{
             {"abc", "two\nlines"}, {"abc", "two\r\nlines"}, {"ab\ncd", "abc"},
             {"abc", "a;b"}, {"a;b", "abc"}, {"abc", QString::fromUtf8("日本")},
             {QString::fromUtf8("звон€"), QString::fromUtf8("€\xF0\x9F\x94\x94")}}) {
        SCOPED_TRACE(name.toStdString() + " / " + file.toStdString());
        EXPECT_EQ(SaveChime(Request(file, name)), ChimeSaveOutcome::kNameRefused);
        EXPECT_FALSE(ChimeNameProblem(name, file).isEmpty());
    }
    EXPECT_EQ(Read("common.kli"), before);
    EXPECT_EQ(QDir(Chime()).entryList({"*.kol"}, QDir::Files), QStringList());
}

TEST_F(ChimeSaverTest, NameMessagesSayWhichFieldAndWhatIsWrong) {
    EXPECT_EQ(ChimeNameProblem("a\nb", "f"),
              QString::fromUtf8("Поле «Имя звона» не может содержать перевод строки"));
    EXPECT_EQ(ChimeNameProblem("a", "f;g"),
              QString::fromUtf8("Поле «Маска имени файла» не может содержать символ «;»"));
    EXPECT_EQ(ChimeNameProblem(QString::fromUtf8("звон 日"), "f"),
              QString::fromUtf8("Поле «Имя звона» содержит символ «日», который нельзя "
                                "сохранить в списке звонов"));
    EXPECT_EQ(ChimeNameProblem("a\tb", "f"),
              QString::fromUtf8("Поле «Имя звона» содержит символ U+0009, который нельзя "
                                "сохранить в списке звонов"));
    EXPECT_EQ(FirstUnstorableChar(QString::fromUtf8("ab\xF0\x9F\x94\x94")), 2);
}

TEST_F(ChimeSaverTest, CyrillicAndCodePageSymbolsAreSavedAndReadBack) {
    const QString name = QString::fromUtf8("Праздничный «Ёлка» — №1 €");
    const QString file = QString::fromUtf8("my\\ёлка");
    EXPECT_EQ(ChimeNameProblem(name, file), QString());
    ASSERT_EQ(SaveChime(Request(file, name)), ChimeSaveOutcome::kSaved);
    EXPECT_TRUE(QFile::exists(Chime(QString::fromUtf8("my/ёлка.kol"))));
    QStringList lines;
    ASSERT_TRUE(ReadTextLines(Chime("common.kli"), lines));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), "231;" + name + ";" + file + ".kol");
}
