#include "app/ui/ControllerWidgets.h"

#include "app/ui/MainForm.h"

namespace orvane {

SettingsWidgets SettingsWidgetsOf(MainForm& form) {
    return {
        .cbView = form.cbView,
        .cbStereo = form.cbStereo,
        .cbGrid = form.cbGrid,
        .cbShowNotes = form.cbShowNotes,
        .cbShowMovie = form.cbShowMovie,
    };
}

LayoutWidgets LayoutWidgetsOf(MainForm& form) {
    return {
        .nViewPanel = form.nViewPanel,
        .nViewSelectBells = form.nViewSelectBells,
        .nViewBellsInfo = form.nViewBellsInfo,
        .nViewBellsGroups = form.nViewBellsGroups,
        .pnlBells = form.pnlBells,
        .pnlTools = form.pnlTools,
        .pnlVolume = form.pnlVolume,
        .pnlTemp = form.pnlTemp,
        .pnlBellsGroups = form.pnlBellsGroups,
        .pnlBellsInfoMain = form.pnlBellsInfoMain,
        .pnlInfo = form.pnlInfo,
        .pnlBellInfo = form.pnlBellInfo,
        .pnlGroupsInfo = form.pnlGroupsInfo,
        .pnlCommon = form.pnlCommon,
        .pnlCustomSelections = form.pnlCustomSelections,
        .cbCommon = form.cbCommon,
        .pnlBellsBox = form.pnlBellsBox,
        .pnlSmall = form.pnlSmall,
        .pnlMiddle = form.pnlMiddle,
        .pnlBig = form.pnlBig,
        .cbShowNotes = form.cbShowNotes,
        .pnlRec = form.pnlRec,
        .ScorePanels = {form.ScorePanel(0), form.ScorePanel(1), form.ScorePanel(2)},
        .GroupPanels = {form.GroupPanel(0), form.GroupPanel(1), form.GroupPanel(2)},
        .GroupChimeBoxes = form.GroupChimeBoxes,
        .Markers = form.Markers,
    };
}

StripWidgets StripWidgetsOf(MainForm& form) {
    return {
        .pnlBells = form.pnlBells,
        .imgHot = form.imgHot,
        .imgPreview = form.imgPreview,
        .mBellInfo = form.mBellInfo,
        .Strip = form.Strip,
    };
}

BellSetWidgets BellSetWidgetsOf(MainForm& form) {
    return {
        .nSelectAll = form.nSelectAll,
        .nDisselectAll = form.nDisselectAll,
        .mPopup = form.mPopup,
        .nDelete = form.nDelete,
        .btnSelectAll = form.btnSelectAll,
        .btnDisselectAll = form.btnDisselectAll,
        .tvGroups = form.tvGroups,
        .btnGPrev = form.btnGPrev,
        .btnGNext = form.btnGNext,
        .pnlCustomSelections = form.pnlCustomSelections,
        .cbCommon = form.cbCommon,
        .GroupChimeBoxes = form.GroupChimeBoxes,
        .AddBellItems = form.AddBellItems,
    };
}

GroupsWidgets GroupsWidgetsOf(MainForm& form) {
    return {
        .imgBells = form.imgBells,
        .tvGroups = form.tvGroups,
        .btnGPrev = form.btnGPrev,
        .btnGNext = form.btnGNext,
        .mBellsInfo = form.mBellsInfo,
        .mDesc = form.mDesc,
    };
}

VoiceWidgets VoiceWidgetsOf(MainForm& form) {
    return {
        .cbStereo = form.cbStereo,
        .cbShowMovie = form.cbShowMovie,
        .mmResetTimer = form.mmResetTimer,
    };
}

VolumeWidgets VolumeWidgetsOf(MainForm& form) {
    return {
        .nVolumeUp = form.nVolumeUp,
        .nVolumeDown = form.nVolumeDown,
        .pnlTools = form.pnlTools,
        .btnVolumeDown = form.btnVolumeDown,
        .btnVolume = form.btnVolume,
        .btnVolumeUp = form.btnVolumeUp,
        .pnlVolume = form.pnlVolume,
        .tbVolume = form.tbVolume,
    };
}

KeyHookWidgets KeyHookWidgetsOf(MainForm& form) {
    return {
        .imgPreview = form.imgPreview,
        .GroupChimeBoxes = form.GroupChimeBoxes,
    };
}

PlayerWidgets PlayerWidgetsOf(MainForm& form) {
    return {
        .nRew = form.nRew,
        .nPause = form.nPause,
        .nPlay = form.nPlay,
        .nStop = form.nStop,
        .nFF = form.nFF,
        .nTempUp = form.nTempUp,
        .nTempDown = form.nTempDown,
        .btnRew = form.btnRew,
        .btnPause = form.btnPause,
        .btnPlay = form.btnPlay,
        .btnStop = form.btnStop,
        .btnFF = form.btnFF,
        .tbProgress = form.tbProgress,
        .edPage = form.edPage,
        .udPage = form.udPage,
        .btnVolume = form.btnVolume,
        .btnTempDown = form.btnTempDown,
        .btnTemp = form.btnTemp,
        .btnTempUp = form.btnTempUp,
        .tbVolume = form.tbVolume,
        .tbTemp = form.tbTemp,
        .pnlSmallBells = form.pnlSmallBells,
        .cbSmall = form.cbSmall,
        .cbStereo = form.cbStereo,
        .cbMiddle = form.cbMiddle,
        .lblLong = form.lblLong,
        .lblPlayTime = form.lblPlayTime,
        .cbBig = form.cbBig,
        .cbShowNotes = form.cbShowNotes,
        .cbShowMovie = form.cbShowMovie,
        .mmTimer = form.mmTimer,
        .mmResetTimer = form.mmResetTimer,
        .Markers = form.Markers,
    };
}

LibraryWidgets LibraryWidgetsOf(MainForm& form) {
    return {
        .nLoadSounds = form.nLoadSounds,
        .tbProgress = form.tbProgress,
        .edPage = form.edPage,
        .udPage = form.udPage,
        .cbCommon = form.cbCommon,
        .cbShowNotes = form.cbShowNotes,
        .GroupChimeBoxes = form.GroupChimeBoxes,
    };
}

CasualWidgets CasualWidgetsOf(MainForm& form) {
    return {
        .nGenerator = form.nGenerator,
        .btnGenerator = form.btnGenerator,
        .GroupChimeBoxes = form.GroupChimeBoxes,
    };
}

ScoreWidgets ScoreWidgetsOf(MainForm& form) {
    return {
        .tbProgress = form.tbProgress,
        .edPage = form.edPage,
        .udPage = form.udPage,
        .cbGrid = form.cbGrid,
        .cbShowNotes = form.cbShowNotes,
        .ScorePanels = {form.ScorePanel(0), form.ScorePanel(1), form.ScorePanel(2)},
        .ScoreCovers = {form.ScoreCover(0), form.ScoreCover(1), form.ScoreCover(2)},
        .Markers = form.Markers,
    };
}

PrintWidgets PrintWidgetsOf(MainForm& form) {
    return {
        .nPrint = form.nPrint,
        .udPage = form.udPage,
        .cbCommon = form.cbCommon,
        .pnlBellsBox = form.pnlBellsBox,
        .cbGrid = form.cbGrid,
        .cbShowNotes = form.cbShowNotes,
        .ScorePanels = {form.ScorePanel(0), form.ScorePanel(1), form.ScorePanel(2)},
        .GroupChimeBoxes = form.GroupChimeBoxes,
    };
}

ExportWidgets ExportWidgetsOf(MainForm& form) {
    return {
        .cbCommon = form.cbCommon,
        .cbSmall = form.cbSmall,
        .cbMiddle = form.cbMiddle,
        .cbBig = form.cbBig,
    };
}

FacesWidgets FacesWidgetsOf(MainForm& form) {
    return {
        .window = form.window,
        .pnlCustomSelections = form.pnlCustomSelections,
        .cbView = form.cbView,
        .pnlSmall = form.pnlSmall,
        .pnlMiddle = form.pnlMiddle,
        .pnlBig = form.pnlBig,
        .cbShowMovie = form.cbShowMovie,
        .mmResetTimer = form.mmResetTimer,
        .GroupPanels = {form.GroupPanel(0), form.GroupPanel(1), form.GroupPanel(2)},
        .GroupChimeBoxes = form.GroupChimeBoxes,
    };
}

RecorderWidgets RecorderWidgetsOf(MainForm& form) {
    return {
        .nRec = form.nRec,
        .pnlBellsBox = form.pnlBellsBox,
        .pnlRec = form.pnlRec,
        .pnlRecTop = form.pnlRecTop,
        .pnlRecTools = form.pnlRecTools,
        .pnlRecEditor = form.pnlRecEditor,
        .lblRecStatus = form.lblRecStatus,
        .lblLongRec = form.lblLongRec,
        .lblString = form.lblString,
        .btnRecClose = form.btnRecClose,
        .btnRecStart = form.btnRecStart,
        .btnRecStop = form.btnRecStop,
        .btnRecOpen = form.btnRecOpen,
        .btnRecSaveAs = form.btnRecSaveAs,
        .mRecList = form.mRecList,
        .mmTimer = form.mmTimer,
        .mmRecTimer = form.mmRecTimer,
    };
}

HelpWidgets HelpWidgetsOf(MainForm& form) {
    return {
        .nHelp = form.nHelp,
        .nManual = form.nManual,
        .nLesson1 = form.nLesson1,
        .nLesson2 = form.nLesson2,
        .nLesson3 = form.nLesson3,
        .nMail = form.nMail,
        .N1 = form.N1,
        .nForum = form.nForum,
        .nAbout = form.nAbout,
        .imgBanner = form.imgBanner,
    };
}

PracticeWidgets PracticeWidgetsOf(MainForm& form) {
    return {
        .mPlayer = form.mPlayer,
        .nGenerator = form.nGenerator,
        .pnlTools = form.pnlTools,
        .btnDisselectAll = form.btnDisselectAll,
        .cbSmall = form.cbSmall,
        .cbGrid = form.cbGrid,
        .cbMiddle = form.cbMiddle,
        .cbBig = form.cbBig,
        .GroupChimeBoxes = form.GroupChimeBoxes,
    };
}

InstrumentWidgets InstrumentWidgetsOf(MainForm& form) {
    return {
        .nKeys = form.nKeys,
        .nViewKeyLabels = form.nViewKeyLabels,
        .cbStereo = form.cbStereo,
        .Strip = form.Strip,
    };
}

}  // namespace orvane
