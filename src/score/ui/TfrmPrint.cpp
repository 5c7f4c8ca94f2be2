#include "score/ui/TfrmPrint.h"

#include "app/ui/TImage.h"

#include <QGuiApplication>
#include <QScreen>

namespace orvane {

TfrmPrint::TfrmPrint(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Preview"));
    resize(666, 465);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    imgPreview = new TImage(QStringLiteral("imgPreview"), this);
    imgPreview->setAlignment(Qt::AlignCenter);
    imgPreview->setAttribute(Qt::WA_TranslucentBackground);
    imgPreview->setGeometry(rect());
}

void TfrmPrint::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    imgPreview->setGeometry(rect());
}

}  // namespace orvane
