#include "help/ui/TfrmLesson.h"

#include "app/core/Guard.h"
#include "help/core/LessonProgress.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QStatusBar>
#include <QTextBrowser>
#include <QUrl>

namespace orvane {

TfrmLesson::TfrmLesson(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmLesson"));
    setWindowTitle(QStringLiteral("Orvane 1.0 beta 2"));
    IE = new QTextBrowser(this);
    IE->setObjectName(QStringLiteral("IE"));
    IE->setOpenLinks(false);
    // No menu on a right click: neither the browser nor its viewport offers one, and the
    // request does not travel on to the parents.
    IE->setContextMenuPolicy(Qt::PreventContextMenu);
    IE->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    setCentralWidget(IE);
    Status = new QStatusBar(this);
    Status->setObjectName(QStringLiteral("Status"));
    setStatusBar(Status);
    resize(900, 650);
    Wire(IE, &QTextBrowser::anchorClicked, this, &TfrmLesson::IEAnchorClicked);
}

void TfrmLesson::Navigate(const QUrl& url) {
    IEProgressChange(0, 100);
    IE->setSource(url);
    IEProgressChange(100, 100);
}

void TfrmLesson::IEProgressChange(qint64 progress, qint64 maximum) {
    if (const auto text = LessonProgressText(progress, maximum)) {
        Status->showMessage(*text);
    }
}

void TfrmLesson::ShowLesson() {
    showMaximized();
    raise();
    activateWindow();
}

void TfrmLesson::IEAnchorClicked(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
    }
    Navigate(IE->source().resolved(url));
}

void TfrmLesson::closeEvent(QCloseEvent* event) {
    const int tag = Tag;
    QMainWindow::closeEvent(event);
    emit FormClose(tag);
}

}  // namespace orvane
