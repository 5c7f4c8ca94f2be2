#pragma once

#include "chime/core/ChimeExporter.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QWidget;

namespace orvane {

struct BellSet;
class VoiceController;
class VolumeController;
struct ProgramData;

// The widgets the audio export reads: the common chime list and the group check boxes.
// Filled from the main window's form by ExportWidgetsOf (app/ui/ControllerWidgets.h).
struct ExportWidgets {
    QComboBox* cbCommon;
    QCheckBox *cbSmall, *cbMiddle, *cbBig;
};

// The loaded chime as it would play now: its steps and tempo, the bell set, the group boxes,
// the output level and the sound folder (stereo or mono sounds), at the engine's rate.
ExportSettings CurrentExportSettings(const ExportWidgets& widgets, const ProgramData& data,
                                     const BellSet& bells, VoiceController& voices,
                                     VolumeController& volume);

// "Export to audio ..." of the "File" menu: asks for a file name and format, then renders the
// loaded chime into it with a progress dialog whose Cancel stops the export and leaves no
// file. Runs on the user-interface thread; the rendering runs there too, and the progress
// dialog keeps the window responsive while it does.
class ExportController : public QObject {
    Q_OBJECT

public:
    // Asks for the target: false when cancelled; otherwise the path (with its suffix) and
    // format.
    using SaveDialogRunner = std::function<bool(QString& path, ExportFormat& format)>;
    // Tells the user something (a message box in the program).
    using MessageSink = std::function<void(const QString& text)>;

    // `window` parents the dialogs; `item` is the menu item; `current` gives what to render.
    ExportController(QWidget& window, QAction* item, std::function<ExportSettings()> current);

    // Connects the menu item to nExportAudioClick.
    void Connect();
    void SetSaveDialog(SaveDialogRunner runner) { dialog_ = std::move(runner); }
    void SetMessageSink(MessageSink sink) { message_ = std::move(sink); }

    // The handler of the menu item.
    void nExportAudioClick();
    // The result of the last export (kFailed also when nothing was loaded).
    ChimeExporter::Result LastResult() const { return last_; }

private:
    bool RunSaveDialog(QString& path, ExportFormat& format);

    QWidget& window_;
    QAction* item_;
    std::function<ExportSettings()> current_;
    SaveDialogRunner dialog_;
    MessageSink message_;
    ChimeExporter::Result last_ = ChimeExporter::Result::kFailed;
    QString lastFolder_;
};

}  // namespace orvane
