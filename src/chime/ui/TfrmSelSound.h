#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace orvane {

// The chime selection dialog: the custom chime sets, the description of the selected one,
// "Play all" and "Load".
class TfrmSelSound : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmSelSound(QWidget* parent = nullptr);

    QGroupBox* gbSounds;
    QListWidget* lbSounds;
    QGroupBox* gbDesc;
    QPlainTextEdit* mDesc;
    QCheckBox* cbRound;
    QPushButton* btnLoad;
};

}  // namespace orvane
