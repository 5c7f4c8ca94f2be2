#pragma once

#include <QObject>

namespace orvane {

class TfrmMain;

// The application-wide key hook: bell keys, the cursor keys and Space, and the keys that move the focus to the group chime lists.
// Lives on the user-interface thread, owned by the main window.
class KeyHook : public QObject {
    Q_OBJECT

public:
    explicit KeyHook(TfrmMain& main);

    // Connects the widgets of this subsystem to their handlers.
    void Connect();
    void Install();

private:
    TfrmMain& main_;
};

}  // namespace orvane
