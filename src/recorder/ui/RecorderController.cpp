#include "recorder/ui/RecorderController.h"

#include "app/core/Guard.h"
#include "app/core/TextFile.h"
#include "app/ui/TfrmMain.h"
#include "chime/ui/TfrmSoundSaveDlg.h"
#include "recorder/core/RecorderMarks.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

namespace orvane {

RecorderController::RecorderController(TfrmMain& main) : QObject(&main), main_(main) {}

void RecorderController::Connect() {
    MainForm& f = main_.form;
    connect(f.nRec, &QAction::triggered, this, [this] { Guarded([&] { nRecClick(); }); });
    connect(f.btnRecStart, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnRecStartClick(); }); });
    connect(f.btnRecStop, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnRecStopClick(); }); });
    connect(f.btnRecClose, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnRecCloseClick(); }); });
    connect(f.btnRecOpen, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnRecOpenClick(); }); });
    connect(f.btnRecSaveAs, &QToolButton::clicked, this,
            [this] { Guarded([&] { btnRecSaveAsClick(); }); });
    connect(f.mmRecTimer, &QTimer::timeout, this, [this] { Guarded([&] { mmRecTimerTimer(); }); });
    connect(f.mRecList, &QPlainTextEdit::textChanged, this,
            [this] { Guarded([&] { mRecListChange(); }); });
    f.pnlBellsBox->installEventFilter(this);
    // The panel covers the score staves: it paints its whole background.
    for (QWidget* panel :
         {static_cast<QWidget*>(f.pnlRec), static_cast<QWidget*>(f.pnlRecTop),
          static_cast<QWidget*>(f.pnlRecTools), static_cast<QWidget*>(f.pnlRecEditor)}) {
        panel->setAutoFillBackground(true);
    }
    connect(f.mRecList, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { Guarded([&] { mRecListClick(); }); });
}

bool RecorderController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_.form.pnlBellsBox && event->type() == QEvent::Resize &&
        !main_.form.pnlRec->isHidden()) {
        Guarded([&] { FitToBellsBox(); });
    }
    return QObject::eventFilter(watched, event);
}

void RecorderController::FitToBellsBox() {
    MainForm& f = main_.form;
    f.pnlRec->setGeometry(f.pnlBellsBox->rect());
    f.pnlRec->raise();
}

void RecorderController::OpenStopped() {
    MainForm& f = main_.form;
    f.lblRecStatus->setText(RecordStoppedText());
    f.lblLongRec->setText(RecordDurationText(0));
    f.mRecList->clear();
    // Showing the panel may settle the window's layout first; fit once it is shown.
    f.pnlRec->show();
    FitToBellsBox();
    f.mRecList->setReadOnly(false);
    main_.RecordText.clear();
    main_.KeysEnabled = false;
}

void RecorderController::nRecClick() {
    OpenStopped();
}

void RecorderController::btnRecStartClick() {
    OpenStopped();
    MainForm& f = main_.form;
    f.mmRecTimer->setInterval(f.mmTimer->interval());
    f.mmRecTimer->start();
    f.mRecList->appendPlainText(QString::number(f.mmRecTimer->interval()));
    main_.RecElapsed = 0;
    f.lblRecStatus->setText(RecordRunningText());
    f.lblLongRec->setText(RecordDurationText(0));
    main_.Recording = true;
    f.mRecList->setReadOnly(true);
    main_.KeysEnabled = true;
}

void RecorderController::btnRecStopClick() {
    MainForm& f = main_.form;
    f.mmRecTimer->stop();
    f.lblRecStatus->setText(RecordStoppedText());
    main_.Recording = false;
    f.mRecList->setReadOnly(false);
    main_.KeysEnabled = false;
}

void RecorderController::btnRecCloseClick() {
    MainForm& f = main_.form;
    f.mmRecTimer->stop();
    f.pnlRec->hide();
    main_.KeysEnabled = true;
    // Closing the panel ends the recording: strokes no longer collect with nobody to take them.
    main_.Recording = false;
    main_.RecordText.clear();
    f.lblRecStatus->setText(RecordStoppedText());
    f.mRecList->setReadOnly(false);
}

void RecorderController::mmRecTimerTimer() {
    MainForm& f = main_.form;
    main_.RecElapsed += static_cast<quint32>(f.mmRecTimer->interval());
    f.lblLongRec->setText(RecordDurationText(main_.RecElapsed));
    f.mRecList->appendPlainText(main_.RecordText);
    main_.RecordText.clear();
    QTextCursor cursor = f.mRecList->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock);
    f.mRecList->setTextCursor(cursor);
    f.mRecList->ensureCursorVisible();
}

void RecorderController::KeyStrike(int bell) {
    if (!main_.Recording) {
        return;
    }
    AppendStroke(main_.RecordText, RecorderMark(bell, main_.Bells));
}

QString RecorderController::ChooseFile() {
    if (chooser_) {
        return chooser_();
    }
    if (!dlgRecOpen_) {
        dlgRecOpen_ = new QFileDialog(&main_);
        dlgRecOpen_->setObjectName(QStringLiteral("dlgRecOpen"));
        dlgRecOpen_->setNameFilter(QStringLiteral("Chime files (*.kol)"));
        dlgRecOpen_->setFileMode(QFileDialog::ExistingFile);
        dlgRecOpen_->setAcceptMode(QFileDialog::AcceptOpen);
        dlgRecOpen_->setDirectory(main_.AppPath.ChimeDir);
    }
    if (dlgRecOpen_->exec() != QDialog::Accepted || dlgRecOpen_->selectedFiles().isEmpty()) {
        return {};
    }
    return dlgRecOpen_->selectedFiles().constFirst();
}

void RecorderController::btnRecOpenClick() {
    btnRecStopClick();
    const QString path = ChooseFile();
    if (!path.isEmpty()) {
        OpenRecording(path);
    }
}

void RecorderController::OpenRecording(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return;
    }
    QStringList lines;
    if (!ReadTextLines(path, lines)) {
        return;
    }
    main_.form.mRecList->setPlainText(lines.join(u'\n'));
}

void RecorderController::btnRecSaveAsClick() {
    btnRecStopClick();
    savedKeysEnabled_ = main_.KeysEnabled;
    main_.KeysEnabled = false;
    if (saveRunner_) {
        saveRunner_();
    } else if (main_.frmSoundSaveDlg) {
        main_.frmSoundSaveDlg->exec();
    }
}

void RecorderController::ShowLineNumber() {
    const QPlainTextEdit* memo = main_.form.mRecList;
    main_.form.lblString->setText(RecordLineText(memo->textCursor().blockNumber() + 1));
}

void RecorderController::mRecListChange() {
    ShowLineNumber();
}

void RecorderController::mRecListClick() {
    ShowLineNumber();
}

}  // namespace orvane
