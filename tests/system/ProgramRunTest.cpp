// The built program started as a process (offscreen, no sound device) and ended with SIGTERM.
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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
