#pragma once

class QCheckBox;
class QComboBox;
class QWidget;

namespace orvane {

class BellSetModel;
struct ProgramData;
class ViewModel;
class ViewRequests;

// The check boxes and the view list that the settings file holds. The settings write them
// at start-up with their signals blocked; afterwards only the user changes them (and
// printing, which checks "show notes").
// Filled from the main window's form by SettingsWidgetsOf (app/ui/ControllerWidgets.h).
struct SettingsWidgets {
    QComboBox* cbView;
    QCheckBox* cbStereo;
    QCheckBox* cbGrid;
    QCheckBox* cbShowNotes;
    QCheckBox* cbShowMovie;
};

// The settings file orvane.ini: the default file, the reads at start-up and the writes at
// close. Every read and write goes to the file's current content. A write that fails ends the
// rest of its operation (it throws; the caller's guard swallows it). The view flags read at
// start-up go to the view model's owner.
class SettingsController {
public:
    SettingsController(QWidget& window, SettingsWidgets widgets, ProgramData& data, BellSetModel& bells, const ViewModel& view,
                       ViewRequests& viewRequests)
        : window_(window), widgets_(widgets), data_(data), bells_(bells), view_(view), viewRequests_(viewRequests) {}

    // Writes the 19 default lines; the caller runs it only when the file does not exist.
    void CreateDefaultSettings();
    // Sections View and Settings into the view flags, check boxes and view selector; then the
    // sound folder from "Stereo".
    void ReadSettings();
    // Section Form into the window's bounds.
    void ReadWindowBounds();
    void WriteViewSettings();
    void WriteWindowBounds();
    // Section Serial from the bell set.
    void StoreBellSet();
    // The sound folder that the "Stereo" check box selects, ending in "/".
    void SetSoundFolder();

private:
    QWidget& window_;
    const SettingsWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    const ViewModel& view_;
    ViewRequests& viewRequests_;
};

}  // namespace orvane
