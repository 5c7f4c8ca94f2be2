#include "chime/ui/TfrmSoundSaveDlg.h"

#include "app/core/Guard.h"
#include "catalogue/core/BellSet.h"
#include "chime/core/ChimeNameCheck.h"
#include "chime/core/ChimeSaver.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

TfrmSoundSaveDlg::TfrmSoundSaveDlg(QWidget* parent) : TfrmSoundSaveDlg(parent, Owner()) {}

TfrmSoundSaveDlg::TfrmSoundSaveDlg(QWidget* parent, Owner owner)
    : QDialog(parent), owner_(std::move(owner)) {
    setObjectName(QStringLiteral("frmSoundSaveDlg"));
    setWindowTitle(QString::fromUtf8("Сохранить как ..."));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(321, 262);
    gbOptions = new QGroupBox(QString::fromUtf8("Параметры сохранения"), this);
    gbOptions->setGeometry(8, 4, 305, 118);
    auto box = [&](const char* name, const char* caption, int top, bool checked) {
        auto* c = new QCheckBox(QString::fromUtf8(caption), gbOptions);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(10, top, 290, 18);
        c->setChecked(checked);
        return c;
    };
    cbCommon = box("cbCommon", "Сохранить как цельный звон", 18, true);
    cbSmall = box("cbSmall", "Сохранить как учебный звон (малые колокола)", 37, false);
    cbMiddle = box("cbMiddle", "Сохранить как учебный звон (средние колокола)", 56, false);
    cbBig = box("cbBig", "Сохранить как учебный звон (большие колокола)", 75, false);
    cbPath = box("cbPath", "Зарегистрировать звоны", 94, true);
    // The captions are long for the fixed width of the dialog: the options use a smaller font.
    QFont optionsFont = cbCommon->font();
    optionsFont.setPointSizeF(optionsFont.pointSizeF() * 0.85);
    for (QCheckBox* c : {cbCommon, cbSmall, cbMiddle, cbBig, cbPath}) {
        c->setFont(optionsFont);
    }
    gbFileName = new QGroupBox(QString::fromUtf8("Маска имени файла"), this);
    gbFileName->setGeometry(8, 126, 305, 46);
    edFName = new QLineEdit(gbFileName);
    edFName->setObjectName(QStringLiteral("edFName"));
    edFName->setGeometry(10, 18, 285, 22);
    gbSName = new QGroupBox(QString::fromUtf8("Имя звона"), this);
    gbSName->setGeometry(8, 176, 305, 46);
    edSName = new QLineEdit(gbSName);
    edSName->setObjectName(QStringLiteral("edSName"));
    edSName->setGeometry(10, 18, 285, 22);
    btnSave = new QPushButton(QString::fromUtf8("Сохранить "), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    btnSave->setGeometry(128, 228, 90, 28);
    btnCancel = new QPushButton(QString::fromUtf8("Отмена "), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(223, 228, 90, 28);
    Wire(btnSave, &QPushButton::clicked, this, &TfrmSoundSaveDlg::btnSaveClick);
    Wire(btnCancel, &QPushButton::clicked, this, &TfrmSoundSaveDlg::btnCancelClick);
}

void TfrmSoundSaveDlg::btnSaveClick() {
    if (!owner_.bells || !owner_.recList) {
        return;
    }
    ChimeSaveRequest request;
    request.chimeDir = owner_.chimeDir;
    request.fileName = edFName->text();
    request.chimeName = edSName->text();
    request.whole = cbCommon->isChecked();
    request.small = cbSmall->isChecked();
    request.middle = cbMiddle->isChecked();
    request.big = cbBig->isChecked();
    request.registerChimes = cbPath->isChecked();
    request.signature = owner_.bells->GroupSignature();
    const QString text = owner_.recList->toPlainText();
    if (!text.isEmpty()) {
        request.recording = text.split(u'\n');
    }
    const ChimeSaveOutcome outcome = SaveChime(request);
    const QString message = outcome == ChimeSaveOutcome::kNameRefused
                                ? ChimeNameProblem(request.chimeName, request.fileName)
                                : SaveMessage(outcome);
    if (!message.isEmpty() && owner_.showMessage) {
        owner_.showMessage(message);
    }
    if (outcome == ChimeSaveOutcome::kSaved) {
        accept();
    }
}

void TfrmSoundSaveDlg::btnCancelClick() {
    reject();
}

void TfrmSoundSaveDlg::FormClose() {
    if (owner_.closed) {
        owner_.closed();
    }
}

void TfrmSoundSaveDlg::done(int result) {
    Guarded([&] { FormClose(); });
    QDialog::done(result);
}

}  // namespace orvane
