#pragma once

#include "sound/ui/BellPreview.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>
#include <utility>

class QLabel;
class QPlainTextEdit;

namespace orvane {

class BadDataFileReporter;
class BellSetModel;
class TImage;
class TPanel;
struct ProgramData;
class VoiceController;

// The strip's widgets. The strip writes the list of its fifteen pictures (the key
// labels read it).
// Filled from the main window's form by StripWidgetsOf (app/ui/ControllerWidgets.h).
struct StripWidgets {
    TPanel* pnlBells;  // height set here; shown or hidden by the layout
    QLabel* imgHot;
    TImage* imgPreview;  // picture set here; the key hook connects its click
    QPlainTextEdit* mBellInfo;
    // Written here (BuildStrip); the main window deletes the pictures at shutdown.
    QList<QPointer<TImage>>& Strip;
};

// The strip of the fifteen bell pictures with its cursor marker, and the preview of the bell
// under the cursor. A click on a picture asks the bell set above to add or remove the bell
// through toggleBell (catalogue bell 0 to 14). Runs on the user-interface thread.
class StripController final : public BellPreview {
  public:
    StripController(StripWidgets widgets, ProgramData& data, BellSetModel& bells, BadDataFileReporter& reporter, std::function<void(int bell)> toggleBell, VoiceController& voices)
        : widgets_(widgets), data_(data), bells_(bells), reporter_(reporter), toggleBell_(std::move(toggleBell)), voices_(voices) {}

    // Creates the fifteen pictures with their out-of-set pictures (a missing picture file is
    // fatal), hints and click handlers, and lays them out.
    void BuildStrip();
    // Sizes the bell selection panel and places the pictures across its width.
    void LayoutStrip();
    // Puts the cursor marker under the current bell.
    void MoveMarker();
    // Shows the current bell's in-set picture and its hint text in the preview.
    void RefreshPreview() override;
    // Shows the in-set or out-of-set picture of a bell in the strip.
    void ShowBellPicture(int bell, bool inSet);
    // The bell's name, a line break and "Note: " with its note.
    QString BellHint(int bell) const;
    // A click on the picture of a bell in the strip: the bell becomes current and joins the
    // set (sounding) or leaves it (silently).
    void StripClick(int bell);
    // A click on the preview picture: strikes the current bell, in the set or not.
    void imgPreviewClick();

  private:
    QString PicturePath(int bell, bool inSet) const;
    const StripWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    BadDataFileReporter& reporter_;
    std::function<void(int)> toggleBell_;
    VoiceController& voices_;
};

}  // namespace orvane
