#include "app/core/TextFile.h"
#include "chime/ui/TfrmSoundSaveDlg.h"
#include "recorder/ui/RecorderController.h"
#include "support/ControllerRig.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

using namespace orvane;

namespace {

class Recorder : public MainWindowFixture {
protected:
    std::unique_ptr<TestWindow> StartRecorder(QStringList arguments = {}) {
        auto w = Start(std::move(arguments));
        // Two great bells (rows 2, 8), two small bells (rows 10, 12), one medium-size (row 6).
        w->Bells.Clear();
        for (auto [row, group] : {std::pair{2, 3}, {8, 3}, {10, 1}, {12, 1}, {6, 2}}) {
            w->Bells.inSet[static_cast<std::size_t>(row)] = true;
            w->Bells.group[static_cast<std::size_t>(row)] = group;
        }
        w->form.mmTimer->setInterval(144);
        return w;
    }
    static QStringList Lines(const TestWindow& w) {
        return w.form.mRecList->toPlainText().split(u'\n');
    }
};

// The recorder controller and its save dialog, built from their collaborators alone.
struct RecorderRig : ControllerRig {
    RecorderRig(const ProgramFolder& folder, QStringList& messages)
        : ControllerRig(folder),
          controller(window, RecorderWidgetsOf(form), data, bellModel, recorderModel, frmSoundSaveDlg) {
        TfrmSoundSaveDlg::Owner owner;
        owner.chimeDir = data.AppPath.ChimeDir;
        owner.bells = &bellModel.Bells;
        owner.recList = form.mRecList;
        owner.showMessage = [&messages](const QString& text) { messages.append(text); };
        owner.closed = [this] { recorderModel.KeysEnabled = controller.SavedKeysEnabled(); };
        frmSoundSaveDlg = std::make_unique<TfrmSoundSaveDlg>(&window, std::move(owner));
        controller.Connect();
    }

    std::unique_ptr<TfrmSoundSaveDlg> frmSoundSaveDlg;
    RecorderController controller;
    RecorderController* const recorder = &controller;
    BellSet& Bells = bellModel.Bells;
    ModelValue<bool>& Recording = recorderModel.Recording;
    ModelValue<bool>& KeysEnabled = recorderModel.KeysEnabled;
    const QString& RecordText = recorderModel.RecordText.Get();
    ModelValue<quint32>& RecElapsed = recorderModel.RecElapsed;
};

// The recorder without a main window, set up as StartRecorder does.
class RecorderAlone : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        GuardLog::Reset();
    }

    std::unique_ptr<RecorderRig> StartRecorder() {
        auto w = std::make_unique<RecorderRig>(folder, messages);
        for (auto [row, group] : {std::pair{2, 3}, {8, 3}, {10, 1}, {12, 1}, {6, 2}}) {
            w->Bells.inSet[static_cast<std::size_t>(row)] = true;
            w->Bells.group[static_cast<std::size_t>(row)] = group;
        }
        w->form.mmTimer->setInterval(144);
        return w;
    }
    static QStringList Lines(const RecorderRig& w) {
        return w.form.mRecList->toPlainText().split(u'\n');
    }

    ProgramFolder folder;
    QStringList messages;
};

}  // namespace

TEST_F(Recorder, MenuItemShowsOnlyWithTheRecordArgument) {
    EXPECT_FALSE(Start()->form.nRec->isVisible());
    auto w = Start({"record"});
    EXPECT_TRUE(w->form.nRec->isVisible());
    EXPECT_EQ(w->form.nRec->text(), QString::fromUtf8("Запись"));
}

TEST_F(Recorder, MenuOpensThePanelStoppedOverTheStaves) {
    auto w = StartRecorder();
    w->form.mRecList->setPlainText("old");
    w->form.nRec->trigger();
    EXPECT_TRUE(w->form.pnlRec->isVisible());
    EXPECT_EQ(w->form.pnlRec->geometry(), w->form.pnlBellsBox->rect());
    EXPECT_EQ(w->form.lblRecStatus->text(), QString::fromUtf8("Состояние: Остановлено"));
    EXPECT_EQ(w->form.lblLongRec->text(), QString::fromUtf8("Продолжительность: 0 секунд"));
    EXPECT_EQ(w->form.lblRec->text(), QString::fromUtf8("Запись звона"));
    EXPECT_TRUE(w->form.mRecList->toPlainText().isEmpty());
    EXPECT_FALSE(w->form.mRecList->isReadOnly());
    EXPECT_FALSE(w->KeysEnabled);
    EXPECT_FALSE(w->form.mmRecTimer->isActive());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(RecorderAlone, ThreeEmptyTicksGiveThreeEmptySteps) {
    auto w = StartRecorder();
    w->recorder->btnRecStartClick();
    EXPECT_TRUE(w->Recording);
    EXPECT_TRUE(w->KeysEnabled);
    EXPECT_TRUE(w->form.mRecList->isReadOnly());
    EXPECT_TRUE(w->form.mmRecTimer->isActive());
    EXPECT_EQ(w->form.lblRecStatus->text(), QString::fromUtf8("Состояние: Запись"));
    for (int i = 0; i < 3; ++i) {
        w->recorder->mmRecTimerTimer();
    }
    w->recorder->btnRecStopClick();
    EXPECT_EQ(Lines(*w), (QStringList{"144", "", "", ""}));
    EXPECT_FALSE(w->Recording);
    EXPECT_FALSE(w->KeysEnabled);
    EXPECT_FALSE(w->form.mRecList->isReadOnly());
    EXPECT_FALSE(w->form.mmRecTimer->isActive());
    EXPECT_EQ(w->form.lblRecStatus->text(), QString::fromUtf8("Состояние: Остановлено"));
    // The caret stands on the last line after a tick.
    EXPECT_EQ(w->form.lblString->text(), QString::fromUtf8("Строка: 4"));
}

TEST_F(RecorderAlone, StrikesOfOneTickShareALineInTheOrderStruck) {
    auto w = StartRecorder();
    w->recorder->btnRecStartClick();
    w->recorder->KeyStrike(8);   // second great bell
    w->recorder->KeyStrike(12);  // first small bell (counted from row 14)
    w->recorder->mmRecTimerTimer();
    w->recorder->KeyStrike(10);
    w->recorder->KeyStrike(10);
    w->recorder->mmRecTimerTimer();
    w->recorder->KeyStrike(6);
    w->recorder->mmRecTimerTimer();
    EXPECT_EQ(Lines(*w), (QStringList{"144", "b2,s1", "s2,s2", "m1"}));
    EXPECT_TRUE(w->RecordText.isEmpty());
    // Strokes after Stop are not recorded.
    w->recorder->btnRecStopClick();
    w->recorder->KeyStrike(6);
    EXPECT_TRUE(w->RecordText.isEmpty());
}

TEST_F(RecorderAlone, DurationCountsWholeSecondsOfTheIntervals) {
    auto w = StartRecorder();
    w->recorder->btnRecStartClick();
    for (int i = 0; i < 6; ++i) {
        w->recorder->mmRecTimerTimer();
    }
    EXPECT_EQ(w->form.lblLongRec->text(), QString::fromUtf8("Продолжительность: 0 секунд"));
    w->recorder->mmRecTimerTimer();
    EXPECT_EQ(w->RecElapsed, 1008u);
    EXPECT_EQ(w->form.lblLongRec->text(), QString::fromUtf8("Продолжительность: 1 секунд"));
}

TEST_F(RecorderAlone, TheTimerRunsAtThePlaybackInterval) {
    auto w = StartRecorder();
    w->form.mmTimer->setInterval(60);
    w->recorder->btnRecStartClick();
    EXPECT_EQ(w->form.mmRecTimer->interval(), 60);
    QTest::qWait(400);
    w->recorder->btnRecStopClick();
    const QStringList lines = Lines(*w);
    EXPECT_EQ(lines.first(), "60");
    EXPECT_GE(lines.size(), 3);
    EXPECT_EQ(w->RecElapsed, 60u * static_cast<quint32>(lines.size() - 1));
}

TEST_F(RecorderAlone, OpeningAFileWhileRecordingStopsFirst) {
    auto w = StartRecorder();
    const QString path = folder.Path("Chime/opened.kol");
    ProgramFolder::Write(path, "200\r\ns1\r\n\r\nb1,m1\r\n");
    w->recorder->btnRecStartClick();
    w->recorder->KeyStrike(2);
    bool recordingWhenAsked = true;
    w->recorder->SetFileChooser([&] {
        recordingWhenAsked = w->Recording || w->form.mmRecTimer->isActive();
        return path;
    });
    w->recorder->btnRecOpenClick();
    EXPECT_FALSE(recordingWhenAsked);
    EXPECT_EQ(Lines(*w), (QStringList{"200", "s1", "", "b1,m1"}));
    EXPECT_FALSE(w->form.mRecList->isReadOnly());
    EXPECT_FALSE(w->KeysEnabled);
    // A file that does not exist leaves the memo.
    w->recorder->SetFileChooser([&] { return folder.Path("Chime/missing.kol"); });
    w->recorder->btnRecOpenClick();
    EXPECT_EQ(Lines(*w), (QStringList{"200", "s1", "", "b1,m1"}));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Recorder, ClosingThePanelEndsTheRecording) {
    auto w = StartRecorder();
    w->recorder->btnRecStartClick();
    w->recorder->KeyStrike(2);
    w->form.btnRecClose->click();
    EXPECT_FALSE(w->form.pnlRec->isVisible());
    EXPECT_FALSE(w->form.mmRecTimer->isActive());
    EXPECT_TRUE(w->KeysEnabled);
    EXPECT_FALSE(w->Recording);
    w->recorder->KeyStrike(2);
    EXPECT_TRUE(w->RecordText.isEmpty());
}

TEST_F(RecorderAlone, LineLabelFollowsTheCaret) {
    auto w = StartRecorder();
    w->recorder->nRecClick();
    w->form.mRecList->setPlainText("144\ns1\nb1\n");
    QTextCursor c(w->form.mRecList->document()->findBlockByNumber(2));
    w->form.mRecList->setTextCursor(c);
    EXPECT_EQ(w->form.lblString->text(), QString::fromUtf8("Строка: 3"));
}

TEST_F(RecorderAlone, SaveAsWritesTheRecordingAndGivesTheKeysBack) {
    auto w = StartRecorder();
    w->recorder->btnRecStartClick();
    w->recorder->KeyStrike(12);
    w->recorder->KeyStrike(6);
    w->recorder->mmRecTimerTimer();
    w->recorder->KeyStrike(2);
    w->recorder->mmRecTimerTimer();
    bool keysWhileOpen = true;
    w->recorder->SetSaveDialogRunner([&] {
        TfrmSoundSaveDlg& dlg = *w->frmSoundSaveDlg;
        keysWhileOpen = w->KeysEnabled;
        dlg.show();
        dlg.edFName->setText("");
        dlg.edSName->setText(QString::fromUtf8("Мой звон"));
        dlg.btnSave->click();
        EXPECT_TRUE(dlg.isVisible());
        dlg.edFName->setText("nowhere\\mine");
        dlg.btnSave->click();
        EXPECT_TRUE(dlg.isVisible());
        dlg.edFName->setText("mine");
        dlg.cbSmall->setChecked(true);
        w->KeysEnabled = true;  // whatever happened meanwhile, the kept value comes back
        dlg.btnSave->click();
        EXPECT_FALSE(dlg.isVisible());
    });
    w->recorder->btnRecSaveAsClick();
    EXPECT_FALSE(keysWhileOpen);
    EXPECT_FALSE(w->Recording);
    EXPECT_EQ(w->KeysEnabled, w->recorder->SavedKeysEnabled());
    EXPECT_EQ(messages, (QStringList{QString::fromUtf8("Не все поля формы заполнены"),
                                     QString::fromUtf8("Указанная директория не найдена")}));
    EXPECT_EQ(ProgramFolder::Read(folder.Path("Chime/mine.kol")), "144\r\ns1,m1\r\nb1\r\n");
    EXPECT_EQ(ProgramFolder::Read(folder.Path("Chime/small_mine.kol")), "144\r\ns1\r\n\r\n");
    const QByteArray common = ProgramFolder::Read(folder.Path("Chime/common.kli"));
    EXPECT_TRUE(common.endsWith("\r\n" + EncodeText(QString::fromUtf8("212;Мой звон;mine.kol"))))
        << common.right(60).toStdString();
    EXPECT_FALSE(common.contains("\r\n\r\n"));
    EXPECT_TRUE(ProgramFolder::Read(folder.Path("Chime/small.kli"))
                    .endsWith(EncodeText(QString::fromUtf8("2;Мой звон;small_mine.kol"))));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(RecorderAlone, CancelGivesTheKeysBackToo) {
    auto w = StartRecorder();
    w->recorder->nRecClick();
    w->recorder->SetSaveDialogRunner([&] {
        w->frmSoundSaveDlg->show();
        w->KeysEnabled = true;
        w->frmSoundSaveDlg->btnCancel->click();
    });
    w->recorder->btnRecSaveAsClick();
    EXPECT_FALSE(w->frmSoundSaveDlg->isVisible());
    EXPECT_FALSE(w->KeysEnabled);
}

// The key hook hands every bell key strike to the recorder while it records.
TEST_F(Recorder, BellKeysAreRecordedThroughTheKeyHook) {
    auto w = StartRecorder();
    w->recorder->btnRecStartClick();
    w->activateWindow();
    w->form.mRecList->setFocus();
    QTest::keyClick(w->form.mRecList, Qt::Key_C);  // row 2: the first great bell of the set
    QTest::keyClick(w->form.mRecList, Qt::Key_L);  // row 13: not in the set
    QTest::keyClick(w->form.mRecList, Qt::Key_K);  // row 12: the first small bell
    w->recorder->mmRecTimerTimer();
    w->recorder->btnRecStopClick();
    EXPECT_EQ(Lines(*w), (QStringList{"144", "b1,s1"}));
    // While stopped, typing edits the text and records nothing.
    QTest::keyClick(w->form.mRecList, Qt::Key_C);
    EXPECT_TRUE(w->RecordText.isEmpty());
}
