#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <chrono>
#include <optional>

class QComboBox;
class QKeyEvent;

namespace orvane {

class BellSetController;
class KeyMap;
class BellSetModel;
class TImage;
struct ProgramData;
class RecorderController;
class RecorderModel;
class StripController;
class VoiceController;

// The key hook's widgets: the preview it connects and the group chime boxes it focuses.
// Filled from the main window's form by KeyHookWidgetsOf (app/ui/ControllerWidgets.h).
struct KeyHookWidgets {
    TImage* imgPreview;
    // Created and filled by the bell set; read only here.
    std::array<QPointer<QComboBox>, 3>& GroupChimeBoxes;
};

// The application-wide key hook: bell keys, the cursor keys and Space, and the keys that move
// the focus to the group chime lists. It sees the key presses of every window of the program
// (an event filter on the application), counts each press once, and acts only while the
// keys-enabled flag is on. A click on the preview picture strikes the current bell.
// Lives on the user-interface thread, owned by the main window.
class KeyHook : public QObject {
    Q_OBJECT

  public:
    KeyHook(KeyHookWidgets widgets, ProgramData& data, BellSetModel& bells, RecorderModel& record, StripController& strip, VoiceController& voices, RecorderController& recorder, BellSetController& bellSet);
    ~KeyHook() override;

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    // Start-up: attaches the hook to the application. Idempotent.
    void Install();
    // Detaches the hook; no key reaches it afterwards.
    void Uninstall();

    // One key-down with its virtual-key code (Windows codes, see VirtualKeyOf). Returns true
    // when the key is handled: it then must not reach the focused control. Space and the left
    // and right arrows are handled; a bell key is not, so it also reaches the focused control.
    // Does nothing while the keys-enabled flag is off. Never throws.
    bool KeyDown(int keyCode);

    // The user's key map; the bell keys of the catalogue are used as they stand while none is
    // given (or it stores no key). The map must outlive the hook or be unset first.
    void SetKeyMap(const KeyMap* map) { keyMap_ = map; }

    // A stroke of an instrument other than the keyboard (a MIDI note-on) on catalogue bell 0 to
    // 14 at a linear gain 0 to 1. It rings as a bell key does, through the same strike: only
    // while the keys-enabled flag is on and the bell is in the set, making it current, with the
    // recorder's mark while recording. at: when the stroke happened (for the strike's report),
    // when known. False when nothing rang. Never throws.
    bool InstrumentStrike(int bell, float gain,
                          std::optional<std::chrono::steady_clock::time_point> at = std::nullopt);
    // The window's part of an instrument stroke whose voice the input thread has already
    // started (it decided from what the window had published that the stroke rings): the bell
    // becomes current, the cursor moves to it, the recorder marks it while recording, and the
    // stroke is reported at `at` and animated as a strike is, then the preview refreshed.
    // Nothing sounds here. False for a bell outside 0 to 14. Never throws.
    bool InstrumentStruck(int bell, std::optional<std::chrono::steady_clock::time_point> at);

    // Key presses the hook has counted (each press once, whatever the flag), for tests.
    int PressesSeen() const { return pressesSeen_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // True for the delivery of a key press that counts: the one to the focused widget, or to
    // the active window when nothing has the focus. A press is re-delivered to every parent
    // that does not accept it; only this delivery is taken.
    static bool IsFirstDelivery(QObject* watched);
    void MoveCursor(int step);
    void FocusGroupList(int group);
    // The strike of a bell found for a key or an instrument stroke: the bell becomes current,
    // the cursor moves to it, a strike worker sounds it at `gain`, the recorder marks it.
    void StrikeFoundBell(int bell, float gain);

    const KeyHookWidgets widgets_;
    ProgramData& data_;
    BellSetModel& bells_;
    RecorderModel& record_;
    StripController& strip_;
    VoiceController& voices_;
    RecorderController& recorder_;
    BellSetController& bellSet_;
    const KeyMap* keyMap_ = nullptr;
    // When the key press being handled happened, from its event's timestamp.
    std::optional<std::chrono::steady_clock::time_point> pressTime_;
    bool installed_ = false;
    int pressesSeen_ = 0;
};

}  // namespace orvane
