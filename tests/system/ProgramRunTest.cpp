// The built program started as a process (offscreen, no sound device) and ended with SIGTERM.
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        const QDir source(QStringLiteral(ORVANE_PROGRAM_DIR));
        QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString target = Program() + u'/' + source.relativeFilePath(from);
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(from, target));
        }
        QFile::setPermissions(Program() + "/orvane", QFile::permissions(Program() + "/orvane"));
    }

    QString Program() const { return dir.path() + "/program"; }

    void StartProgram(QProcess& p, const QStringList& args = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CACHE_HOME", dir.path() + "/cache");
        env.insert("XDG_RUNTIME_DIR", dir.path() + "/runtime");
        env.insert("TMPDIR", dir.path());
        QDir().mkpath(dir.path() + "/runtime");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(Program() + "/orvane", args);
        ASSERT_TRUE(p.waitForStarted(5000));
    }

    // Waits until the program has written its default settings and installed the library.
    bool WaitForStart() {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            if (QFileInfo::exists(Program() + "/orvane.ini") && QFileInfo::exists(Program() + "/Chime/common.kli") &&
                !QFileInfo::exists(Program() + "/bells.exe")) {
                QThread::msleep(1500);  // the window shows after the start-up sequence
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    QByteArray Ini() const {
        QFile f(Program() + "/orvane.ini");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(ProgramRun, SigtermClosesTheWindowAndKeepsTheSettings) {
    QProcess p;
    StartProgram(p);
    ASSERT_TRUE(WaitForStart()) << p.readAll().toStdString();
    const QByteArray defaults = Ini();
    EXPECT_TRUE(defaults.startsWith("[View]\r\nTools=1\r\n"));
    EXPECT_EQ(defaults.count("\r\n"), 19);
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray ini = Ini();
    QList<QByteArray> keys;
    for (const QByteArray& line : ini.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        keys.append((eq < 0 ? line : line.left(eq)).trimmed());
    }
    EXPECT_EQ(keys, (QList<QByteArray>{"[View]", "Tools", "Bells", "Info", "Groups", "[Form]", "Left", "Top", "Width",
                                       "Height", "[Serial]", "Bells", "Types", "[Settings]", "Grid", "Stereo",
                                       "Animate", "Notes", "View", ""}));
    EXPECT_EQ(ini.count("\r\n"), 19);
    EXPECT_TRUE(ini.contains("Width=780\r\n") || ini.contains("Width=")) << ini.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/cache/Orvane/TempOrvaneMono/bell00.wav"));
}

TEST_F(ProgramRun, ASecondStartHandsOverToTheFirstAndEnds) {
    QProcess first;
    StartProgram(first);
    ASSERT_TRUE(WaitForStart());
    QProcess second;
    StartProgram(second);
    EXPECT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    EXPECT_TRUE(first.waitForFinished(10000)) << first.readAll().toStdString();
}

// A request to end is honoured at every moment of the start, the library installer's run
// included: the program ends soon, without a message box waiting for a click.
TEST_F(ProgramRun, SigtermAtAnyMomentOfTheStartEndsTheProgram) {
    for (const int delayMs : {0, 20, 60, 150, 400, 900}) {
        SCOPED_TRACE("SIGTERM after " + std::to_string(delayMs) + " ms");
        QDir(Program() + "/Chime").removeRecursively();
        QDir(Program() + "/Custom").removeRecursively();
        QFile::remove(Program() + "/orvane.ini");
        QProcess p;
        StartProgram(p);
        QThread::msleep(static_cast<unsigned long>(delayMs));
        ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
        EXPECT_TRUE(p.waitForFinished(10000)) << p.readAll().toStdString();
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
}

// The single-instance claim is taken before the start-up sequence: a second copy started while
// the first is still starting hands over and ends, and of two copies started together one ends.
TEST_F(ProgramRun, ASecondStartDuringTheFirstStartHandsOverAndEnds) {
    QProcess first;
    StartProgram(first);
    QElapsedTimer timer;
    timer.start();
    while (QDir(dir.path()).entryList({"orvane-*.lock"}, QDir::Files).isEmpty() && timer.elapsed() < 10000) {
        QThread::msleep(5);
    }
    QProcess second;
    StartProgram(second);
    EXPECT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    EXPECT_TRUE(first.waitForFinished(10000)) << first.readAll().toStdString();

    QProcess a;
    QProcess b;
    StartProgram(a);
    StartProgram(b);
    timer.restart();
    while (a.state() == QProcess::Running && b.state() == QProcess::Running && timer.elapsed() < 15000) {
        a.waitForFinished(20);
        b.waitForFinished(20);
    }
    QThread::msleep(500);
    EXPECT_NE(a.state() == QProcess::Running, b.state() == QProcess::Running);
    for (QProcess* p : {&a, &b}) {
        if (p->state() == QProcess::Running) {
            ::kill(static_cast<pid_t>(p->processId()), SIGTERM);
            EXPECT_TRUE(p->waitForFinished(10000));
        }
    }
}

// Under a real X server the main window's caption is exactly the documented one: nothing (such
// as the application's name) is appended to it.
TEST_F(ProgramRun, TheWindowSystemShowsExactlyTheDocumentedCaption) {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xwininfo").isEmpty()) {
        GTEST_SKIP() << "needs Xvfb and xwininfo";
    }
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted(5000));
    ASSERT_TRUE(server.waitForReadyRead(10000));
    const QString display = ":" + QString::fromLatin1(server.readLine().trimmed());
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", display);
    env.insert("XDG_CACHE_HOME", dir.path() + "/cache");
    env.insert("TMPDIR", dir.path());
    p.setProcessEnvironment(env);
    p.start(Program() + "/orvane", {});
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray tree;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000 && !tree.contains("Hollin")) {
        QThread::msleep(200);
        QProcess info;
        info.setProcessEnvironment(env);
        info.start("xwininfo", {"-root", "-tree"});
        info.waitForFinished(5000);
        tree = info.readAllStandardOutput();
    }
    EXPECT_TRUE(tree.contains("\"Orvane 1.0 beta 2 - Hollin`s school of the bell ringers\"")) << tree.toStdString();
    EXPECT_FALSE(tree.contains("ringers \xE2\x80\x94")) << tree.toStdString();
    ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
    EXPECT_TRUE(p.waitForFinished(10000));
    server.terminate();
    server.waitForFinished(5000);
}
