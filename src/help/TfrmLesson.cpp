#include "help/TfrmLesson.h"

#include <QStatusBar>
#include <QTextBrowser>

namespace orvane {

TfrmLesson::TfrmLesson(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmLesson"));
    setWindowTitle(QStringLiteral("Orvane 1.0 beta 2"));
    IE = new QTextBrowser(this);
    IE->setObjectName(QStringLiteral("IE"));
    IE->setOpenLinks(false);
    IE->setContextMenuPolicy(Qt::NoContextMenu);
    setCentralWidget(IE);
    Status = new QStatusBar(this);
    Status->setObjectName(QStringLiteral("Status"));
    setStatusBar(Status);
    resize(900, 650);
}

}  // namespace orvane
