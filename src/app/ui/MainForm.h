#pragma once

#include "app/ui/TPanel.h"
#include "app/ui/TSlider.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QString>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QSpinBox;
class QTimer;
class QToolButton;
class QTreeWidget;

namespace orvane {

class TImage;

// The widget tree of the main window, built in code like a form file: every panel, control,
// menu item and timer with its documented name (objectName), caption, hint, initial value and
// alignment. Controls that depend on the bell catalogue are created later, at start-up, by
// their controllers. The form owns nothing itself: every widget is parented to the window.
class MainForm {
public:
    explicit MainForm(QMainWindow* window);

    QMainWindow* window;
    QWidget* client;  // the window's client area

    // Menus and their items.
    QMenu* mFile;
    QMenu* mBells;
    QMenu* mPlayer;
    QMenu* mView;
    QMenu* mReference;
    QAction *nPrint, *nExit;
    QAction* nExportAudio;
    QAction *nSelectAll, *nDisselectAll, *nLoadSounds;
    QAction* nKeys;           // "Keys ...": the bells' keys and MIDI notes
    QAction* nViewKeyLabels;  // "Key labels" on the strip pictures, checkable
    QAction *nRew, *nPause, *nPlay, *nRec, *nStop, *nFF, *nGenerator, *nVolumeUp, *nVolumeDown,
        *nTempUp, *nTempDown;
    QAction *nViewPanel, *nViewSelectBells, *nViewBellsInfo, *nViewBellsGroups;
    QAction *nHelp, *nManual, *nLesson1, *nLesson2, *nLesson3, *nMail, *N1, *nForum, *nAbout;
    // Popup menu of the groups tree.
    QMenu* mPopup;
    QAction* nDelete;
    QMenu* nAdd;
    // Pictures of the groups tree nodes and the "Add bell" items.
    QList<QIcon> imgBells;

    // Bell selection panel.
    TPanel* pnlBells;
    QLabel* imgHot;

    // Tools panel.
    TPanel* pnlTools;
    QToolButton *btnRew, *btnPause, *btnPlay, *btnStop, *btnFF, *btnGenerator;
    TSlider* tbProgress;
    QLineEdit* edPage;
    QSpinBox* udPage;
    QToolButton *btnVolumeDown, *btnVolume, *btnVolumeUp;
    QToolButton *btnTempDown, *btnTemp, *btnTempUp;
    QToolButton *btnSelectAll, *btnDisselectAll;
    QLabel* lblCopyright;

    // Pop-ups standing on the tools panel.
    TPanel* pnlVolume;
    TSlider* tbVolume;
    TPanel* pnlTemp;
    TSlider* tbTemp;

    TPanel* pnlMain;
    // Bell groups panel.
    TPanel *pnlBellsGroups, *pnlGroupsMain, *pnlBanner, *pnlGroupsTools;
    TImage* imgBanner;
    QTreeWidget* tvGroups;
    QToolButton *btnGPrev, *btnGNext;

    TPanel* pnlBellsInfoMain;
    // Bell information panel.
    TPanel *pnlInfo, *pnlBellInfo, *pnlBellsInfo, *pnlGroupsInfo;
    TImage* imgPreview;
    QPlainTextEdit* mBellInfo;
    QLabel* lblBellsInfo;
    QPlainTextEdit* mBellsInfo;
    QLabel* lblDesc;
    QPlainTextEdit* mDesc;

    TPanel *pnlSounds, *pnlCommonSelections, *pnlCommon, *pnlView, *pnlCustomSelections;
    QLabel* lblCommon;
    QComboBox* cbCommon;
    QLabel* lblView;
    QComboBox* cbView;

    TPanel* pnlBellsBox;
    TPanel *pnlSmall, *pnlSmallCheck, *pnlSmallBells, *pnlSmallFace;
    TPanel *pnlMiddle, *pnlMiddleCheck, *pnlMiddleBells, *pnlMiddleFace;
    TPanel *pnlBig, *pnlBigCheck, *pnlBigBells, *pnlBigFace;
    QCheckBox *cbSmall, *cbStereo, *cbGrid;
    QCheckBox *cbMiddle;
    QLabel *lblLong, *lblPlayTime;
    QCheckBox *cbBig, *cbShowNotes, *cbShowMovie;

    // Recording panel.
    TPanel *pnlRec, *pnlRecTop, *pnlRecTools, *pnlRecEditor;
    QLabel *lblRec, *lblRecStatus, *lblLongRec, *lblString, *imgRecDecor;
    QToolButton *btnRecClose, *btnRecStart, *btnRecStop, *btnRecOpen, *btnRecSaveAs;
    QPlainTextEdit* mRecList;

    // Timers of the user-interface thread.
    QTimer *mmTimer, *mmResetTimer, *mmRecTimer;

    // The three score panels in group order (small, medium-size, great) and their covers.
    TPanel* ScorePanel(int group) const;
    TPanel* ScoreCover(int group) const;
    TPanel* GroupPanel(int group) const;

    // Controls created at start-up from the catalogue: the strip of fifteen pictures, the chime
    // boxes of the three groups, the three position markers and the "Add bell" menu items.
    QList<QPointer<TImage>> Strip;
    std::array<QPointer<QComboBox>, 3> GroupChimeBoxes{};
    std::array<QPointer<QWidget>, 3> Markers{};
    QList<QPointer<QAction>> AddBellItems;

private:
    void BuildMenus();
    void BuildTools();
    void BuildPopups();
    void BuildGroupsPanel();
    void BuildInfoPanel();
    void BuildSounds();
    void BuildBellsBox();
    void BuildRecorder();
};

}  // namespace orvane
