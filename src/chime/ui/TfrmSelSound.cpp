#include "chime/ui/TfrmSelSound.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

TfrmSelSound::TfrmSelSound(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelSound"));
    setWindowTitle(QStringLiteral("Chime selection"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(615, 311);
    gbSounds = new QGroupBox(QStringLiteral("Chime selection"), this);
    gbSounds->setGeometry(8, 8, 290, 295);
    lbSounds = new QListWidget(gbSounds);
    lbSounds->setObjectName(QStringLiteral("lbSounds"));
    lbSounds->setGeometry(10, 22, 270, 263);
    gbDesc = new QGroupBox(QStringLiteral("Chime description"), this);
    gbDesc->setGeometry(306, 8, 301, 295);
    mDesc = new QPlainTextEdit(gbDesc);
    mDesc->setObjectName(QStringLiteral("mDesc"));
    mDesc->setReadOnly(true);
    mDesc->setFrameShape(QFrame::NoFrame);
    mDesc->setGeometry(10, 22, 281, 215);
    cbRound = new QCheckBox(QStringLiteral("Play all"), gbDesc);
    cbRound->setObjectName(QStringLiteral("cbRound"));
    cbRound->setGeometry(10, 255, 120, 20);
    btnLoad = new QPushButton(QStringLiteral("Load"), gbDesc);
    btnLoad->setObjectName(QStringLiteral("btnLoad"));
    btnLoad->setGeometry(206, 250, 85, 28);
}

}  // namespace orvane
