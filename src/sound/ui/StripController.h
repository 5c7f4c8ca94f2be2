#pragma once

#include "sound/ui/BellPreview.h"

#include <QString>
#include <functional>
#include <utility>

namespace orvane {

class BadDataFileReporter;
class BellSetModel;
class MainForm;
struct ProgramData;
class VoiceController;

// The strip of the fifteen bell pictures with its cursor marker, and the preview of the bell
// under the cursor. A click on a picture asks the bell set above to add or remove the bell
// through toggleBell (catalogue bell 0 to 14). Runs on the user-interface thread.
class StripController final : public BellPreview {
  public:
    StripController(MainForm& form, ProgramData& data, BellSetModel& bells, BadDataFileReporter& reporter, std::function<void(int bell)> toggleBell, VoiceController& voices)
        : form_(form), data_(data), bells_(bells), reporter_(reporter), toggleBell_(std::move(toggleBell)), voices_(voices) {}

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
    MainForm& form_;
    ProgramData& data_;
    BellSetModel& bells_;
    BadDataFileReporter& reporter_;
    std::function<void(int)> toggleBell_;
    VoiceController& voices_;
};

}  // namespace orvane
