#pragma once

#include <QMainWindow>

class QTextBrowser;
class QStatusBar;

namespace orvane {

// The lesson window: a browser over the local help and lesson pages and a status bar. Its tag
// names the voice that belongs to the page shown (0 reference, 1-3 the lessons, 4 none).
class TfrmLesson : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmLesson(QWidget* parent = nullptr);

    QTextBrowser* IE;
    QStatusBar* Status;
    int Tag = 4;
};

}  // namespace orvane
