#pragma once

#include "animation/ui/FacesController.h"
#include "app/ui/LayoutController.h"
#include "app/ui/SettingsController.h"
#include "catalogue/ui/BellSetController.h"
#include "catalogue/ui/GroupsController.h"
#include "chime/ui/CasualController.h"
#include "chime/ui/ExportController.h"
#include "chime/ui/LibraryController.h"
#include "chime/ui/PlayerController.h"
#include "help/ui/HelpController.h"
#include "practice/ui/PracticeController.h"
#include "recorder/ui/RecorderController.h"
#include "score/ui/PrintController.h"
#include "score/ui/ScoreController.h"
#include "sound/ui/InstrumentController.h"
#include "sound/ui/KeyHook.h"
#include "sound/ui/StripController.h"
#include "sound/ui/VoiceController.h"
#include "sound/ui/VolumeController.h"

namespace orvane {

class MainForm;

// The widgets of each controller, taken from the form of the main window: the one place that
// says which controller may touch which widget. Used by the main window and the test rigs.
SettingsWidgets SettingsWidgetsOf(MainForm& form);
LayoutWidgets LayoutWidgetsOf(MainForm& form);
StripWidgets StripWidgetsOf(MainForm& form);
BellSetWidgets BellSetWidgetsOf(MainForm& form);
GroupsWidgets GroupsWidgetsOf(MainForm& form);
VoiceWidgets VoiceWidgetsOf(MainForm& form);
VolumeWidgets VolumeWidgetsOf(MainForm& form);
KeyHookWidgets KeyHookWidgetsOf(MainForm& form);
PlayerWidgets PlayerWidgetsOf(MainForm& form);
LibraryWidgets LibraryWidgetsOf(MainForm& form);
CasualWidgets CasualWidgetsOf(MainForm& form);
ScoreWidgets ScoreWidgetsOf(MainForm& form);
PrintWidgets PrintWidgetsOf(MainForm& form);
ExportWidgets ExportWidgetsOf(MainForm& form);
FacesWidgets FacesWidgetsOf(MainForm& form);
RecorderWidgets RecorderWidgetsOf(MainForm& form);
HelpWidgets HelpWidgetsOf(MainForm& form);
PracticeWidgets PracticeWidgetsOf(MainForm& form);
InstrumentWidgets InstrumentWidgetsOf(MainForm& form);

}  // namespace orvane
