#pragma once

#include <QMainWindow>

class QTextBrowser;
class QStatusBar;
class QUrl;

namespace orvane {

// The lesson window: a browser over the local help and lesson pages and a status bar. Its tag
// names the voice that belongs to the page shown (0 reference, 1-3 the lessons, 4 none).
// Created once at start-up, hidden until used, re-used by every entry. User-interface thread.
class TfrmLesson : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmLesson(QWidget* parent = nullptr);

    QTextBrowser* IE;
    QStatusBar* Status;
    int Tag = 4;

    // Shows a local page (an absolute path or a file URL). The browser loads it at once, so the
    // status then reads "100% Выполнено".
    void Navigate(const QUrl& url);
    // Browser progress: sets the status text (see LessonProgressText); a maximum of 0 or less
    // leaves it.
    void IEProgressChange(qint64 progress, qint64 maximum);
    // Shows the window maximized, not modal, and brings it forward.
    void ShowLesson();

signals:
    // The window was closed (hidden); `tag` is its tag at that moment.
    void FormClose(int tag);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A link clicked in the page: web and mail links go to the user's programs, others are
    // followed in this window.
    void IEAnchorClicked(const QUrl& url);
};

}  // namespace orvane
