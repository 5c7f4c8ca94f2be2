#include "recorder/ui/RecorderController.h"

#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "app/core/TextFile.h"
#include "app/ui/TPanel.h"
#include "catalogue/core/BellSetModel.h"
#include "chime/ui/TfrmSoundSaveDlg.h"
#include "recorder/core/RecorderMarks.h"
#include "recorder/core/RecorderModel.h"

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

RecorderController::RecorderController(QWidget& window, RecorderWidgets widgets, ProgramData& data, BellSetModel& bells, RecorderModel& record, const std::unique_ptr<TfrmSoundSaveDlg>& frmSoundSaveDlg)
    : window_(window), widgets_(widgets), data_(data), bells_(bells), record_(record), frmSoundSaveDlg_(frmSoundSaveDlg) {}

void RecorderController::Connect() {
    const RecorderWidgets& f = widgets_;
    Wire(f.nRec, &QAction::triggered, this, &RecorderController::nRecClick);
    Wire(f.btnRecStart, &QToolButton::clicked, this, &RecorderController::btnRecStartClick);
    Wire(f.btnRecStop, &QToolButton::clicked, this, &RecorderController::btnRecStopClick);
    Wire(f.btnRecClose, &QToolButton::clicked, this, &RecorderController::btnRecCloseClick);
    Wire(f.btnRecOpen, &QToolButton::clicked, this, &RecorderController::btnRecOpenClick);
    Wire(f.btnRecSaveAs, &QToolButton::clicked, this, &RecorderController::btnRecSaveAsClick);
    Wire(f.mmRecTimer, &QTimer::timeout, this, &RecorderController::mmRecTimerTimer);
    Wire(f.mRecList, &QPlainTextEdit::textChanged, this, &RecorderController::mRecListChange);
    f.pnlBellsBox->installEventFilter(this);
    // The panel covers the score staves: it paints its whole background.
    for (QWidget* panel :
         {static_cast<QWidget*>(f.pnlRec), static_cast<QWidget*>(f.pnlRecTop),
          static_cast<QWidget*>(f.pnlRecTools), static_cast<QWidget*>(f.pnlRecEditor)}) {
        panel->setAutoFillBackground(true);
    }
    Wire(f.mRecList, &QPlainTextEdit::cursorPositionChanged, this, &RecorderController::mRecListClick);
}

bool RecorderController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widgets_.pnlBellsBox && event->type() == QEvent::Resize &&
        !widgets_.pnlRec->isHidden()) {
        Guarded([&] { FitToBellsBox(); });
    }
    return QObject::eventFilter(watched, event);
}

void RecorderController::FitToBellsBox() {
    const RecorderWidgets& f = widgets_;
    f.pnlRec->setGeometry(f.pnlBellsBox->rect());
    f.pnlRec->raise();
}

void RecorderController::OpenStopped() {
    const RecorderWidgets& f = widgets_;
    f.lblRecStatus->setText(RecordStoppedText());
    f.lblLongRec->setText(RecordDurationText(0));
    f.mRecList->clear();
    // Showing the panel may settle the window's layout first; fit once it is shown.
    f.pnlRec->show();
    FitToBellsBox();
    f.mRecList->setReadOnly(false);
    record_.RecordText = QString();
    record_.KeysEnabled = false;
}

void RecorderController::nRecClick() {
    OpenStopped();
}

void RecorderController::btnRecStartClick() {
    OpenStopped();
    const RecorderWidgets& f = widgets_;
    f.mmRecTimer->setInterval(f.mmTimer->interval());
    f.mmRecTimer->start();
    f.mRecList->appendPlainText(QString::number(f.mmRecTimer->interval()));
    record_.RecElapsed = 0;
    f.lblRecStatus->setText(RecordRunningText());
    f.lblLongRec->setText(RecordDurationText(0));
    record_.Recording = true;
    f.mRecList->setReadOnly(true);
    record_.KeysEnabled = true;
}

void RecorderController::btnRecStopClick() {
    const RecorderWidgets& f = widgets_;
    f.mmRecTimer->stop();
    f.lblRecStatus->setText(RecordStoppedText());
    record_.Recording = false;
    f.mRecList->setReadOnly(false);
    record_.KeysEnabled = false;
}

void RecorderController::btnRecCloseClick() {
    const RecorderWidgets& f = widgets_;
    f.mmRecTimer->stop();
    f.pnlRec->hide();
    record_.KeysEnabled = true;
    // Closing the panel ends the recording: strokes no longer collect with nobody to take them.
    record_.Recording = false;
    record_.RecordText = QString();
    f.lblRecStatus->setText(RecordStoppedText());
    f.mRecList->setReadOnly(false);
}

void RecorderController::mmRecTimerTimer() {
    const RecorderWidgets& f = widgets_;
    record_.RecElapsed += static_cast<quint32>(f.mmRecTimer->interval());
    f.lblLongRec->setText(RecordDurationText(record_.RecElapsed));
    f.mRecList->appendPlainText(record_.RecordText);
    record_.RecordText = QString();
    QTextCursor cursor = f.mRecList->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock);
    f.mRecList->setTextCursor(cursor);
    f.mRecList->ensureCursorVisible();
}

void RecorderController::KeyStrike(int bell) {
    if (!record_.Recording) {
        return;
    }
    QString text = record_.RecordText;
    AppendStroke(text, RecorderMark(bell, bells_.Bells));
    record_.RecordText = text;
}

QString RecorderController::ChooseFile() {
    if (chooser_) {
        return chooser_();
    }
    if (!dlgRecOpen_) {
        dlgRecOpen_ = new QFileDialog(&window_);
        dlgRecOpen_->setObjectName(QStringLiteral("dlgRecOpen"));
        dlgRecOpen_->setNameFilter(QStringLiteral("Chime files (*.kol)"));
        dlgRecOpen_->setFileMode(QFileDialog::ExistingFile);
        dlgRecOpen_->setAcceptMode(QFileDialog::AcceptOpen);
        dlgRecOpen_->setDirectory(data_.AppPath.ChimeDir);
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
    widgets_.mRecList->setPlainText(lines.join(u'\n'));
}

void RecorderController::btnRecSaveAsClick() {
    btnRecStopClick();
    savedKeysEnabled_ = record_.KeysEnabled;
    record_.KeysEnabled = false;
    if (saveRunner_) {
        saveRunner_();
    } else if (frmSoundSaveDlg_) {
        frmSoundSaveDlg_->exec();
    }
}

void RecorderController::ShowLineNumber() {
    const QPlainTextEdit* memo = widgets_.mRecList;
    widgets_.lblString->setText(RecordLineText(memo->textCursor().blockNumber() + 1));
}

void RecorderController::mRecListChange() {
    ShowLineNumber();
}

void RecorderController::mRecListClick() {
    ShowLineNumber();
}

}  // namespace orvane
