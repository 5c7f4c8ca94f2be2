#include "help/ui/TAboutBox.h"

#include "app/ui/TImage.h"
#include "help/core/JpegImage.h"

namespace orvane {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(449, 302);
    imgAbout = new TImage(QStringLiteral("imgAbout"), this);
    imgAbout->setGeometry(0, 0, 449, 302);
    imgAbout->SetStretch(true);
    // Decoded when the window is first shown: most runs never open it.
    imgAbout->SetPictureLoader([] { return LoadJpeg(QStringLiteral(":/images/splash.jpg")); });
    connect(imgAbout, &TImage::Clicked, this, &QDialog::accept);
}

}  // namespace orvane
