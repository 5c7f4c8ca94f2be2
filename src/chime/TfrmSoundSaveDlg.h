#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace orvane {

// The save dialog of a recorded chime.
class TfrmSoundSaveDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmSoundSaveDlg(QWidget* parent = nullptr);

    QGroupBox* gbOptions;
    QCheckBox *cbCommon, *cbSmall, *cbMiddle, *cbBig, *cbPath;
    QGroupBox* gbFileName;
    QLineEdit* edFName;
    QGroupBox* gbSName;
    QLineEdit* edSName;
    QPushButton *btnSave, *btnCancel;
};

}  // namespace orvane
