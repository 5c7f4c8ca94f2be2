#include "app/core/Guard.h"
#include "app/core/InstallerRun.h"
#include "app/ui/LayoutController.h"
#include "app/ui/TImage.h"
#include "support/TestWindow.h"
#include "catalogue/core/TBellData.h"
#include "support/ProgramFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace orvane;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        GuardLog::Reset();
    }

    std::unique_ptr<TestWindow> Start(QStringList arguments = {}) {
        StartOptions options;
        options.appDir = folder.Dir();
        options.arguments = std::move(arguments);
        options.cacheDir = folder.CacheDir();
        options.messageBox = [this](const QString&, const QString& text) { messages.append(text); };
        return std::make_unique<TestWindow>(options);
    }

    std::unique_ptr<TestWindow> StartShown(QStringList arguments = {}) {
        auto w = Start(std::move(arguments));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    QString Ini() { return QString::fromLatin1(ProgramFolder::Read(folder.Path("orvane.ini"))); }

    ProgramFolder folder;
    QStringList messages;
};

}  // namespace

TEST_F(MainWindow, AnInstallerStartedAheadIsWaitedForAtItsStep) {
    StartOptions options;
    options.appDir = folder.Dir();
    options.cacheDir = folder.CacheDir();
    options.messageBox = [this](const QString&, const QString& text) { messages.append(text); };
    options.installer = InstallerRun::Start(options.appDir, options.payloadResource);
    ASSERT_TRUE(options.installer);
    auto w = std::make_unique<TestWindow>(options);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    EXPECT_EQ(w->CompletedSteps().size(), 22);
    EXPECT_TRUE(QFileInfo::exists(folder.Path("Chime/common.kli")));
    EXPECT_FALSE(QFileInfo::exists(folder.Path("bells.exe")));
}

TEST_F(MainWindow, FirstStartInstallsTheLibraryWritesDefaultsAndRunsEveryStep) {
    auto w = Start();
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    EXPECT_EQ(w->CompletedSteps().size(), 22);
    EXPECT_TRUE(QFileInfo::exists(folder.Path("Chime/common.kli")));
    EXPECT_TRUE(QFileInfo::exists(folder.Path("Custom/list.kli")));
    EXPECT_FALSE(QFileInfo::exists(folder.Path("bells.exe")));
    const QString ini = Ini();
    EXPECT_TRUE(ini.startsWith("[View]\r\nTools=1\r\nBells=1\r\nInfo=1\r\nGroups=1\r\n[Form]\r\nLeft=0\r\nTop=0\r\nWidth="));
    EXPECT_TRUE(ini.endsWith("[Serial]\r\nBells=000000000000011\r\nTypes=nnnnnnnnnnnnnnn\r\n[Settings]\r\n"
                             "Grid=0\r\nStereo=1\r\nAnimate=1\r\nNotes=1\r\nView=0\r\n"));
    EXPECT_EQ(ini.count("\r\n"), 19);
    // The default set: bells 13 and 14, no groups; the stereo folder is the sound folder.
    EXPECT_TRUE(w->Bells.inSet[13] && w->Bells.inSet[14]);
    EXPECT_EQ(w->Bells.SetSize(), 2);
    EXPECT_EQ(w->AppPath.SoundDir, w->StereoTempDir + "/");
    EXPECT_EQ(w->windowTitle(), "Orvane 1.0 beta 2 - Hollin`s school of the bell ringers");
    EXPECT_EQ(w->Strip.size(), 15);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(MainWindow, WaveFilesAreCopiedOnceAndOldCopiesAreKept) {
    { auto w = Start(); }
    const QString copy = folder.CacheDir() + "/TempOrvaneMono/bell00.wav";
    ASSERT_TRUE(QFileInfo::exists(copy));
    EXPECT_TRUE(QFileInfo::exists(folder.CacheDir() + "/TempOrvaneStereo/bell14.wav"));
    // A copy as large and as old as the program's wave file counts as current.
    ProgramFolder::Write(copy, "old copy");
    QFile::remove(folder.Path("Sound/Mono/bell00.wav"));  // a link to the built sound: replace it
    ProgramFolder::Write(folder.Path("Sound/Mono/bell00.wav"), "new wave");
    const QDateTime when = QDateTime::currentDateTime().addDays(-1);
    for (const QString& path : {copy, folder.Path("Sound/Mono/bell00.wav")}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    { auto w = Start(); }
    EXPECT_EQ(ProgramFolder::Read(copy), QByteArray("old copy"));
    // One that differs in size or time is replaced.
    ProgramFolder::Write(folder.Path("Sound/Mono/bell00.wav"), "newer wave");
    { auto w = Start(); }
    EXPECT_EQ(ProgramFolder::Read(copy), QByteArray("newer wave"));
}

TEST_F(MainWindow, AnEmptyMonoFolderStillGivesAnEmptyTemporaryFolder) {
    QDir(folder.Path("Sound/Mono")).removeRecursively();
    QDir().mkpath(folder.Path("Sound/Mono"));
    auto w = Start();
    QDir mono(folder.CacheDir() + "/TempOrvaneMono");
    EXPECT_TRUE(mono.exists());
    EXPECT_TRUE(mono.entryList(QDir::Files).isEmpty());
}

TEST_F(MainWindow, OnlyTheExactFirstArgumentRecordShowsTheRecorderAndSkipsTheInstaller) {
    for (const QStringList& args : {QStringList{"Record"}, QStringList{"record2"}, QStringList{"x", "record"}}) {
        auto w = Start(args);
        EXPECT_FALSE(w->form.nRec->isVisible()) << args.join(' ').toStdString();
        EXPECT_TRUE(QFileInfo::exists(folder.Path("Chime/small.kli")));
        QDir(folder.Path("Chime")).removeRecursively();
    }
    { auto w = Start(); }  // a normal start installs the library again
    ProgramFolder::Write(folder.Path("Chime/extra.kol"), "144");
    QFile::remove(folder.Path("Chime/small.kli"));
    auto w = Start({"record"});
    EXPECT_TRUE(w->form.nRec->isVisible());
    EXPECT_FALSE(QFileInfo::exists(folder.Path("Chime/small.kli")));  // not reinstalled
}

TEST_F(MainWindow, TheInstallerNeverOverwritesWhatTheUserSaved) {
    { auto w = Start(); }
    const QString common = folder.Path("Chime/common.kli");
    const QByteArray saved = ProgramFolder::Read(common) + "\r\n111;Mine;my\\mine.kol";
    ProgramFolder::Write(common, saved);
    { auto w = Start(); }
    EXPECT_EQ(ProgramFolder::Read(common), saved);
}

TEST_F(MainWindow, AMissingDataFileShowsOneFatalMessageAndWritesNoSettings) {
    { auto w = Start(); }
    const QByteArray before = ProgramFolder::Read(folder.Path("orvane.ini"));
    QFile::remove(folder.Path("Data/desc.kli"));
    QFile::remove(folder.Path("Images/bell03_off.bmp"));
    auto w = StartShown();
    const QString desc = w->AppPath.DescFile;
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "File " + desc + " not found or corrupt.\r\nApplication will be terminate. \r\n"
                           "Please, reinstall this programm.");
    EXPECT_TRUE(w->Terminating());
    EXPECT_EQ(w->CompletedSteps().size(), 22);  // the sequence still runs to its end
    w->close();
    w.reset();
    EXPECT_EQ(ProgramFolder::Read(folder.Path("orvane.ini")), before);
}

TEST_F(MainWindow, ACorruptChimeCatalogueNamesItsFile) {
    { auto w = Start(); }
    ProgramFolder::Write(folder.Path("Chime/big.kli"), "1;two fields");
    auto w = Start({"record"});  // the installer would not overwrite it anyway
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("File " + folder.Path("Chime/big.kli") + " not found"));
}

TEST_F(MainWindow, CloseWritesViewFlagsBoundsAndTheBellSet) {
    ProgramFolder::Write(folder.Path("orvane.ini"),
                         "[View]\r\nTools=0x1\r\nBells=yes\r\nInfo=0\r\n[Serial]\r\nBells=1011\r\nTypes=bXm\r\n"
                         "[Settings]\r\nGrid=2\r\nStereo=0\r\n");
    auto w = StartShown();
    EXPECT_TRUE(w->ShowTools);
    EXPECT_TRUE(w->ShowBells);
    EXPECT_FALSE(w->ShowInfo);
    EXPECT_TRUE(w->form.cbGrid->isChecked());
    EXPECT_EQ(w->AppPath.SoundDir, w->MonoTempDir + "/");
    // No [Form]: the window opens at 0, 0 with its minimum size.
    EXPECT_EQ(w->size(), QSize(780, 580));
    // A short Bells value leaves the missing bells out of the set.
    EXPECT_TRUE(w->Bells.inSet[0] && !w->Bells.inSet[1] && w->Bells.inSet[2] && w->Bells.inSet[3]);
    EXPECT_EQ(w->Bells.SetSize(), 3);
    EXPECT_EQ(w->Bells.group[0], 3);
    EXPECT_EQ(w->Bells.group[2], 2);
    EXPECT_EQ(w->Bells.group[3], 0);
    QFile::remove(folder.Path("orvane.ini"));  // deleted while running: the close writes it anew
    w->resize(900, 640);
    w->close();
    const QString ini = Ini();
    EXPECT_EQ(ini,
              "[View]\r\nTools=1\r\nBells=1\r\nGroups=1\r\nInfo=0\r\n[Settings]\r\nGrid=1\r\nStereo=0\r\n"
              "Animate=1\r\nNotes=1\r\nView=0\r\n[Form]\r\nLeft=" + QString::number(w->x()) + "\r\nTop=" +
                  QString::number(w->y()) + "\r\nWidth=900\r\nHeight=640\r\n[Serial]\r\n"
                  "Bells=101100000000000\r\nTypes=bnmnnnnnnnnnnnn\r\n");
}

TEST_F(MainWindow, GroupPanelsShareTheBellsBoxInThirds) {
    auto w = StartShown();
    MainForm& f = w->form;
    for (auto [height, small, middle] : {std::tuple{305, 101, 99}, std::tuple{300, 100, 96}}) {
        f.pnlBellsBox->resize(f.pnlBellsBox->width(), height);
        w->layout->SplitGroupPanels();
        EXPECT_EQ(f.pnlSmall->height(), small);
        EXPECT_EQ(f.pnlMiddle->height(), middle);
        EXPECT_EQ(f.pnlBig->height(), small);
        EXPECT_EQ(f.pnlBig->y() + f.pnlBig->height(), height - 2);
    }
    f.pnlSmallBells->resize(520, 80);
    w->layout->LayoutMarkers();
    EXPECT_EQ(w->Markers[0]->width(), 8);
    EXPECT_EQ(w->Markers[0]->height(), 72);
    EXPECT_EQ(w->Markers[0]->x(), 5);  // column 0: 0.6 * 8 = 4.8
}

TEST_F(MainWindow, ViewPanelsHideShowAndLayTheWindowOut) {
    auto w = StartShown();
    MainForm& f = w->form;
    w->layout->btnTempClick();
    EXPECT_TRUE(f.pnlTemp->isVisible());
    EXPECT_EQ(f.pnlTemp->y() + f.pnlTemp->height(), f.pnlTools->y());
    f.nViewPanel->trigger();  // hiding the tools closes the pop-up
    EXPECT_FALSE(w->ShowTools);
    EXPECT_FALSE(f.pnlTools->isVisible());
    EXPECT_FALSE(f.pnlTemp->isVisible());
    f.nViewPanel->trigger();
    EXPECT_TRUE(f.pnlTools->isVisible());
    EXPECT_FALSE(f.pnlTemp->isVisible());  // not reopened
    EXPECT_TRUE(f.nViewPanel->isChecked());

    f.nViewBellsInfo->trigger();
    EXPECT_FALSE(f.pnlInfo->isVisible());
    EXPECT_EQ(f.pnlSounds->y(), 2);
    f.nViewBellsInfo->trigger();
    EXPECT_EQ(f.pnlInfo->y(), 2);  // directly under the bell selection panel
    EXPECT_EQ(f.pnlSounds->y(), 2 + f.pnlInfo->height());

    f.nViewBellsGroups->trigger();
    EXPECT_FALSE(f.pnlBellsGroups->isVisible());
    EXPECT_EQ(f.pnlBellInfo->width(), qRound(f.pnlInfo->width() / 2.0));
    w->resize(w->width() + 40, w->height());
    EXPECT_EQ(f.pnlBellInfo->width(), (f.pnlInfo->width() - f.pnlGroupsInfo->width()) / 2);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(MainWindow, TheStripFillsTheBellPanel) {
    auto w = StartShown();
    MainForm& f = w->form;
    const double cell = (f.pnlBells->width() - 4) / 15.0;
    EXPECT_EQ(f.pnlBells->height(), qRound(cell) + 8);
    EXPECT_EQ(w->Strip[0]->x(), 2);
    EXPECT_LE(w->Strip[14]->x() + w->Strip[14]->width(), f.pnlBells->width() - 2);
    EXPECT_EQ(f.imgHot->x(), w->Strip[0]->x());
    QTest::mouseClick(w->Strip[4].data(), Qt::LeftButton);
    EXPECT_EQ(w->CurrentBell, 4);
    EXPECT_EQ(f.imgHot->x(), w->Strip[4]->x());
    EXPECT_TRUE(f.mBellInfo->toPlainText().contains("Note: "));
}

TEST_F(MainWindow, StoredBoundsBeyondTheScreenAreBroughtInside) {
    ProgramFolder::Write(folder.Path("orvane.ini"),
                         "[Form]\r\nLeft=-400\r\nTop=3000\r\nWidth=4000\r\nHeight=2500\r\n");
    auto w = StartShown();
    const QRect available = w->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(w->frameGeometry()))
        << w->frameGeometry().x() << "," << w->frameGeometry().y() << " "
        << w->frameGeometry().width() << "x" << w->frameGeometry().height();
    EXPECT_GE(w->width(), 780);
    EXPECT_GE(w->height(), 580);
}

TEST_F(MainWindow, WindowPanelsFillTheClientAreaToItsEdges) {
    auto w = StartShown();
    MainForm& f = w->form;
    const QRect client = f.client->rect();
    EXPECT_EQ(f.pnlBells->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(f.pnlBells->width(), client.width());
    EXPECT_EQ(f.pnlTools->geometry().bottom(), client.bottom());
    EXPECT_EQ(f.pnlTools->geometry().left(), 0);
    EXPECT_EQ(f.pnlMain->geometry().left(), 0);
    EXPECT_EQ(f.pnlMain->geometry().right(), client.right());
    // Inside a panel the bevel stays: its aligned children sit 2 pixels in.
    EXPECT_EQ(f.pnlBellsGroups->geometry().right(), f.pnlMain->width() - 1 - 2);
}
