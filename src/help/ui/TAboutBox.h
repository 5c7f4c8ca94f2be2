#pragma once

#include <QDialog>

namespace orvane {

class TImage;

// The about window: the start-up picture; a click on it closes the window.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
    TImage* imgAbout;
};

}  // namespace orvane
