#include "score/TfrmPrint.h"

#include "app/TImage.h"

namespace orvane {

TfrmPrint::TfrmPrint(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Preview"));
    resize(666, 465);
    imgPreview = new TImage(QStringLiteral("imgPreview"), this);
    imgPreview->setGeometry(rect());
}

}  // namespace orvane
