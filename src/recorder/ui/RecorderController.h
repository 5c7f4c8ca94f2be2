#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QFileDialog;

class QAction;
class QLabel;
class QPlainTextEdit;
class QTimer;
class QToolButton;
class QWidget;

namespace orvane {

class BellSetModel;
class TPanel;
struct ProgramData;
class RecorderModel;
class TfrmSoundSaveDlg;

// The recording panel, its menu item and the timers.
// Filled from the main window's form by RecorderWidgetsOf (app/ui/ControllerWidgets.h).
struct RecorderWidgets {
    QAction* nRec;
    TPanel* pnlBellsBox;  // read only
    TPanel* pnlRec;  // shown and hidden here; placed by the layout
    TPanel* pnlRecTop;
    TPanel* pnlRecTools;
    TPanel* pnlRecEditor;
    QLabel* lblRecStatus;
    QLabel* lblLongRec;
    QLabel* lblString;
    QToolButton* btnRecClose;
    QToolButton* btnRecStart;
    QToolButton* btnRecStop;
    QToolButton* btnRecOpen;
    QToolButton* btnRecSaveAs;
    QPlainTextEdit* mRecList;
    QTimer* mmTimer;  // read only (its interval); the player's step timer
    QTimer* mmRecTimer;
};

// The recording panel: recording bell strokes from the keyboard into chime score text, opening
// and saving it. The recording flag, the record text and the elapsed time live in the main
// window (Recording, RecordText, RecElapsed); the key hook hands strikes over through KeyStrike.
// Lives on the user-interface thread, owned by the main window.
class RecorderController : public QObject {
    Q_OBJECT

public:
    RecorderController(QWidget& window, RecorderWidgets widgets, ProgramData& data, BellSetModel& bells, RecorderModel& record, const std::unique_ptr<TfrmSoundSaveDlg>& frmSoundSaveDlg);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    // Puts pnlRec over the client rectangle of pnlBellsBox (the three score staves).
    void FitToBellsBox();

    void nRecClick();
    void btnRecStartClick();
    void btnRecStopClick();
    void btnRecCloseClick();
    void btnRecOpenClick();
    void btnRecSaveAsClick();
    void mmRecTimerTimer();
    void mRecListChange();
    void mRecListClick();

    // A bell key strike on catalogue row `bell` while recording: appends "," unless the record
    // text is empty, then the bell's mark. Does nothing while no recording runs.
    void KeyStrike(int bell);

    // The keys-enabled flag as it was before the save dialog opened; the dialog gives it back
    // when it closes.
    bool SavedKeysEnabled() const { return savedKeysEnabled_; }

    // Replaces the memo's lines with the lines of a chime file; a missing file is ignored.
    void OpenRecording(const QString& path);

    // How dlgRecOpen is asked for a file (empty: nothing chosen). Tests replace the dialog.
    void SetFileChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }
    // How the save dialog is run modally. Tests replace it.
    void SetSaveDialogRunner(std::function<void()> runner) { saveRunner_ = std::move(runner); }

protected:
    // Re-fits the panel whenever pnlBellsBox changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenStopped();
    void ShowLineNumber();
    QString ChooseFile();

    QWidget& window_;
    const RecorderWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    RecorderModel& record_;
    const std::unique_ptr<TfrmSoundSaveDlg>& frmSoundSaveDlg_;
    bool savedKeysEnabled_ = true;
    QFileDialog* dlgRecOpen_ = nullptr;
    std::function<QString()> chooser_;
    std::function<void()> saveRunner_;
};

}  // namespace orvane
