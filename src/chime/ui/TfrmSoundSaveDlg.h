#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace orvane {

class TfrmMain;

// The save dialog of a recorded chime: writes the recorder's text as the whole chime and the
// checked study chimes under the Chime folder and registers them (ChimeSaver). Its parent is the
// main window, whose recorder memo, bell set and paths it reads. User-interface thread only.
class TfrmSoundSaveDlg : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSoundSaveDlg(QWidget* parent = nullptr);

    // Saves; shows "Не все поля формы заполнены" or "Указанная директория не найдена" and stays
    // open when the fields or the folder are wrong; closes once everything is written.
    void btnSaveClick();
    void btnCancelClick();
    // On every close: gives the key hook back the keys-enabled flag the recorder kept aside.
    void FormClose();

    void done(int result) override;

    QGroupBox* gbOptions;
    QCheckBox *cbCommon, *cbSmall, *cbMiddle, *cbBig, *cbPath;
    QGroupBox* gbFileName;
    QLineEdit* edFName;
    QGroupBox* gbSName;
    QLineEdit* edSName;
    QPushButton *btnSave, *btnCancel;

private:
    TfrmMain* Main() const;
};

}  // namespace orvane
