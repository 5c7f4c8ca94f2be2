#include "sound/ui/KeyHook.h"

#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "app/ui/TImage.h"
#include "catalogue/core/BellSetModel.h"
#include "catalogue/core/TBellData.h"
#include "catalogue/ui/BellSetController.h"
#include "recorder/core/RecorderModel.h"
#include "recorder/ui/RecorderController.h"
#include "sound/core/KeyMap.h"
#include "sound/core/InputEventTime.h"
#include "sound/core/VirtualKey.h"
#include "sound/ui/StripController.h"
#include "sound/ui/VoiceController.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QWidget>

namespace orvane {

namespace {

// Virtual-key codes of the digit keys that move the focus to a group chime list.
constexpr int kVkDigit1 = 49;
constexpr int kVkDigit3 = 51;
constexpr int kVkNumpad1 = 97;
constexpr int kVkNumpad3 = 99;

}  // namespace

KeyHook::KeyHook(KeyHookWidgets widgets, ProgramData& data, BellSetModel& bells, RecorderModel& record, StripController& strip, VoiceController& voices, RecorderController& recorder, BellSetController& bellSet)
    : widgets_(widgets), data_(data), bells_(bells), record_(record), strip_(strip), voices_(voices), recorder_(recorder), bellSet_(bellSet) {}

KeyHook::~KeyHook() {
    Uninstall();
}

void KeyHook::Connect() {
    Wire(widgets_.imgPreview, &TImage::Clicked, this, [this] { strip_.imgPreviewClick(); });
}

void KeyHook::Install() {
    if (!installed_ && qApp) {
        qApp->installEventFilter(this);
        installed_ = true;
    }
}

void KeyHook::Uninstall() {
    if (installed_ && qApp) {
        qApp->removeEventFilter(this);
    }
    installed_ = false;
}

bool KeyHook::IsFirstDelivery(QObject* watched) {
    if (!watched->isWidgetType()) {
        return false;  // the window-system window that forwards the press to a widget
    }
    if (QApplication::activePopupWidget()) {
        return false;  // keys of an open menu or drop-down list belong to it
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus) {
        return watched == focus;
    }
    return watched == QApplication::activeWindow();
}

bool KeyHook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !IsFirstDelivery(watched)) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    ++pressesSeen_;
    // A key held with Alt is a system key: menus and shortcuts, never a bell.
    if (key->modifiers().testFlag(Qt::AltModifier)) {
        return false;
    }
    pressTime_ = InputEventTime(key->timestamp(), std::chrono::steady_clock::now());
    const bool handled = KeyDown(VirtualKeyOf(*key));
    pressTime_.reset();
    return handled;
}

void KeyHook::MoveCursor(int step) {
    const int bell = bells_.CurrentBell + step;
    if (bell >= 0 && bell < TBellData::kBellCount) {
        bells_.CurrentBell = bell;
    }
    strip_.MoveMarker();
    strip_.RefreshPreview();
}

void KeyHook::FocusGroupList(int group) {
    if (QComboBox* box = widgets_.GroupChimeBoxes[std::size_t(group)]) {
        box->setFocus();
    }
}

bool KeyHook::KeyDown(int keyCode) {
    bool handled = false;
    Guarded([&] {
        if (!record_.KeysEnabled || keyCode == kVkNone) {
            return;
        }
        switch (keyCode) {
            case kVkSpace:
                handled = true;
                bellSet_.ToggleBell(bells_.CurrentBell);
                break;
            case kVkLeft:
                handled = true;
                MoveCursor(-1);
                break;
            case kVkRight:
                handled = true;
                MoveCursor(+1);
                break;
            default:
                if (keyCode >= kVkDigit1 && keyCode <= kVkDigit3) {
                    FocusGroupList(keyCode - kVkDigit1);
                } else if (keyCode >= kVkNumpad1 && keyCode <= kVkNumpad3) {
                    FocusGroupList(keyCode - kVkNumpad1);
                }
                break;
        }
        if (!data_.BellData) {
            return;
        }
        // Read at every press: the key column is not cached.
        const QStringList& catalogue = data_.BellData->Columns[TBellData::kKey];
        const int bell = FindBellOfKey(
            keyCode, keyMap_ ? keyMap_->KeyColumn(catalogue) : catalogue, bells_.Bells.inSet);
        if (bell < 0) {
            return;
        }
        StrikeFoundBell(bell, 1.0f);
    });
    return handled;
}

bool KeyHook::InstrumentStrike(int bell, float gain,
                               std::optional<std::chrono::steady_clock::time_point> at) {
    bool rang = false;
    Guarded([&] {
        if (!record_.KeysEnabled || bell < 0 || bell >= TBellData::kBellCount ||
            !bells_.Bells.inSet[std::size_t(bell)] || !(gain > 0.0f)) {
            return;
        }
        pressTime_ = at;
        StrikeFoundBell(bell, gain < 1.0f ? gain : 1.0f);
        pressTime_.reset();
        rang = true;
    });
    return rang;
}

bool KeyHook::InstrumentStruck(int bell,
                               std::optional<std::chrono::steady_clock::time_point> at) {
    bool done = false;
    Guarded([&] {
        if (bell < 0 || bell >= TBellData::kBellCount) {
            return;
        }
        bells_.CurrentBell = bell;
        strip_.MoveMarker();
        if (record_.Recording) {
            recorder_.KeyStrike(bell);
        }
        voices_.InstrumentStruck(bell, at);
        done = true;
    });
    return done;
}

void KeyHook::StrikeFoundBell(int bell, float gain) {
    bells_.CurrentBell = bell;
    strip_.MoveMarker();
    voices_.StartStrikeWorker(gain, pressTime_);
    if (record_.Recording) {
        recorder_.KeyStrike(bell);
    }
}

}  // namespace orvane
