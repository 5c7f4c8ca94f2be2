#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

struct BellSet;

// The save dialog of a recorded chime: writes the recorder's text as the whole chime and the
// checked study chimes under the Chime folder and registers them (ChimeSaver). It reads the
// recorder memo, the bell set and the chime folder that its owner gives. User-interface thread only.
class TfrmSoundSaveDlg : public QDialog {
    Q_OBJECT

public:
    // What the dialog reads and reports to. Without it (no chime folder), saving does nothing.
    struct Owner {
        QString chimeDir;
        const BellSet* bells = nullptr;
        const QPlainTextEdit* recList = nullptr;
        std::function<void(const QString&)> showMessage;
        // Runs on every close.
        std::function<void()> closed;
    };

    explicit TfrmSoundSaveDlg(QWidget* parent = nullptr);
    TfrmSoundSaveDlg(QWidget* parent, Owner owner);

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
    Owner owner_;
};

}  // namespace orvane
