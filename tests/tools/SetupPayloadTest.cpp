// Runs the built chime library installer payload as a process on temporary folders.

#include "SetupArchive.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

using namespace orvane::setup;

namespace {

using Tree = QMap<QString, QByteArray>;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Every file below dir (hidden ones included), by "/"-separated relative path.
Tree ReadTree(const QString& dir) {
    Tree tree;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        tree.insert(QDir(dir).relativeFilePath(path), ReadAll(path));
    }
    return tree;
}

// The library as it lies in the source tree: data/Chime and data/Custom.
Tree SourceLibrary() {
    const QString data = QStringLiteral(ORVANE_SOURCE_DIR "/data");
    Tree tree;
    for (const QString& folder : {QStringLiteral("Chime"), QStringLiteral("Custom")}) {
        const Tree part = ReadTree(data + "/" + folder);
        for (auto it = part.begin(); it != part.end(); ++it) {
            tree.insert(folder + "/" + it.key(), it.value());
        }
    }
    return tree;
}

class SetupPayload : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        programDir_ = root_.path() + "/program";
        workDir_ = root_.path() + "/elsewhere";
        ASSERT_TRUE(QDir().mkpath(programDir_));
        ASSERT_TRUE(QDir().mkpath(workDir_));
        payload_ = ReadAll(QStringLiteral(ORVANE_SETUP_PAYLOAD));
        ASSERT_GT(payload_.size(), static_cast<qsizetype>(kTrailerSize));
    }

    QString SetupPath() const { return programDir_ + "/bells.exe"; }

    // Writes bytes as the setup program of the program folder and runs it with currentDir as the
    // current directory. Returns its exit code, or -1 when it did not exit normally.
    int RunSetup(const QByteArray& bytes, const QString& currentDir) {
        EXPECT_TRUE(WriteAll(SetupPath(), bytes));
        QFile::setPermissions(SetupPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcess process;
        process.setWorkingDirectory(currentDir);
        process.start(SetupPath(), {});
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
            return -1;
        }
        return process.exitCode();
    }
    int RunSetup() { return RunSetup(payload_, programDir_); }

    // What the setup program left in the program folder, without itself.
    Tree Installed() const {
        Tree tree = ReadTree(programDir_);
        tree.remove(QStringLiteral("bells.exe"));
        return tree;
    }

    QByteArray StubBytes() const { return ReadAll(QStringLiteral(ORVANE_SETUP_STUB)); }

    QByteArray PayloadOf(const std::vector<PackedFile>& files) const {
        const QByteArray stub = StubBytes();
        const Bytes payload =
            BuildPayload(std::span(reinterpret_cast<const unsigned char*>(stub.constData()),
                                   static_cast<std::size_t>(stub.size())),
                         files);
        return QByteArray(reinterpret_cast<const char*>(payload.data()),
                          static_cast<qsizetype>(payload.size()));
    }

    QTemporaryDir root_;
    QString programDir_;
    QString workDir_;
    QByteArray payload_;
};

}  // namespace

TEST_F(SetupPayload, InstallsTheWholeLibraryByteForByteBesideItself) {
    const Tree expected = SourceLibrary();
    ASSERT_TRUE(expected.contains("Chime/common.kli"));
    ASSERT_TRUE(expected.contains("Custom/list.kli"));

    // The current directory is some other folder: the files still land beside the program.
    EXPECT_EQ(RunSetup(payload_, workDir_), kExitOk);
    EXPECT_EQ(Installed(), expected);
    EXPECT_TRUE(ReadTree(workDir_).isEmpty());
}

TEST_F(SetupPayload, LaterRunsKeepChangedAndAddedFilesAndRestoreMissingOnes) {
    ASSERT_EQ(RunSetup(), kExitOk);
    const Tree original = Installed();

    const QString list = programDir_ + "/Chime/small.kli";
    const QByteArray appended =
        ReadAll(list) + "\r\n2;\xcc\xee\xe9 \xe7\xe2\xee\xed;study\\small\\mine.kol";
    ASSERT_TRUE(WriteAll(list, appended));
    const QString chime = programDir_ + "/Chime/common/perebor.kol";
    ASSERT_TRUE(WriteAll(chime, "250\r\nb1\r\n"));
    ASSERT_TRUE(WriteAll(programDir_ + "/Chime/study/small/mine.kol", "144\r\ns1\r\n"));
    ASSERT_TRUE(QFile::remove(programDir_ + "/Custom/list.kli"));
    ASSERT_TRUE(QDir(programDir_ + "/Chime/study/great").removeRecursively());
    // Temporary files of an earlier run that was killed, before and after publishing.
    ASSERT_TRUE(WriteAll(programDir_ + "/Custom/.list.kli.setup-part", "half"));
    ASSERT_TRUE(WriteAll(programDir_ + "/Chime/.common.kli.setup-part", "whole"));

    EXPECT_EQ(RunSetup(), kExitOk);
    const Tree after = Installed();
    EXPECT_EQ(after.value("Chime/small.kli"), appended);
    EXPECT_EQ(after.value("Chime/common/perebor.kol"), "250\r\nb1\r\n");
    EXPECT_EQ(after.value("Chime/study/small/mine.kol"), "144\r\ns1\r\n");
    EXPECT_EQ(after.value("Custom/list.kli"), original.value("Custom/list.kli"));
    for (auto it = original.begin(); it != original.end(); ++it) {
        if (it.key().startsWith("Chime/study/great/")) {
            EXPECT_EQ(after.value(it.key()), it.value()) << it.key().toStdString();
        }
    }
    EXPECT_EQ(after.size(), original.size() + 1) << "no temporary file is left over";
}

TEST_F(SetupPayload, WritesWhatItCanAndFailsWhenAFolderCannotBeMade) {
    // A file where the Custom folder belongs: nothing can be written under it.
    ASSERT_TRUE(WriteAll(programDir_ + "/Custom", "in the way"));
    EXPECT_EQ(RunSetup(), kExitWriteFailed);

    Tree expected = SourceLibrary();
    for (auto it = expected.begin(); it != expected.end();) {
        it = it.key().startsWith("Custom/") ? expected.erase(it) : std::next(it);
    }
    expected.insert("Custom", "in the way");
    EXPECT_EQ(Installed(), expected) << "all Chime files written, no temporary file left over";
}

TEST_F(SetupPayload, CorruptPayloadExitsWithAnErrorAndWritesNothing) {
    const qsizetype stubSize = StubBytes().size();
    ASSERT_LT(stubSize, payload_.size());
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    std::vector<Case> cases = {
        {"stub alone", payload_.left(stubSize)},
        {"last byte cut", payload_.left(payload_.size() - 1)},
        {"half the archive", payload_.left(stubSize + (payload_.size() - stubSize) / 2)},
        {"byte appended", payload_ + 'x'},
    };
    QByteArray flipped = payload_;
    flipped[stubSize + (payload_.size() - stubSize) / 2] ^= 0x20;
    cases.push_back({"archive byte changed", flipped});
    QByteArray badOffset = payload_;
    badOffset[payload_.size() - kTrailerSize + 8] ^= 0x01;
    cases.push_back({"archive offset changed", badOffset});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunSetup(c.bytes, workDir_), kExitBadPayload);
        EXPECT_TRUE(Installed().isEmpty());
        EXPECT_TRUE(ReadTree(workDir_).isEmpty());
    }
}

TEST_F(SetupPayload, ArchiveWithAnUnsafePathIsRefusedWhole) {
    const QString outside = root_.path() + "/outside.txt";
    const std::vector<std::string> unsafePaths = {"../outside.txt", "Chime/../../outside.txt",
                                                  outside.toStdString(), "Chime/./a.kol"};
    for (const std::string& bad : unsafePaths) {
        SCOPED_TRACE(bad);
        const QByteArray payload = PayloadOf({{"Chime/small.kli", {'1'}}, {bad, {'x'}}});
        EXPECT_EQ(RunSetup(payload, workDir_), kExitBadPayload);
        EXPECT_TRUE(Installed().isEmpty()) << "no entry of a refused archive is written";
        EXPECT_FALSE(QFile::exists(outside));
    }
    // The same archive without the bad entry is written: the refusal is about the path.
    EXPECT_EQ(RunSetup(PayloadOf({{"Chime/small.kli", {'1'}}}), workDir_), kExitOk);
    EXPECT_EQ(Installed(), (Tree{{"Chime/small.kli", "1"}}));
}
