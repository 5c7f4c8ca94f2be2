#include "app/ui/MainForm.h"

#include "app/ui/ProgramStyle.h"
#include "app/ui/TImage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace orvane {

namespace {

// The transport glyphs, drawn here rather than taken from the style: the style's icons come
// from the icon theme, whose first lookup reads the theme folders and costs a start tens of
// milliseconds. Drawn in the text colour.
QIcon TransportIcon(QStyle::StandardPixmap kind, const QColor& colour) {
    return ProgramStyle::DrawnIcon([&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        const auto triangle = [&p](qreal left, qreal right) {
            const QPointF points[3] = {{left, 3.5}, {right, 8.0}, {left, 12.5}};
            p.drawPolygon(points, 3);
        };
        switch (kind) {
        case QStyle::SP_MediaPlay:
            triangle(4.5, 12.5);
            break;
        case QStyle::SP_MediaPause:
            p.drawRect(QRectF(4, 3.5, 3, 9));
            p.drawRect(QRectF(9, 3.5, 3, 9));
            break;
        case QStyle::SP_MediaStop:
            p.drawRect(QRectF(4, 4, 8, 8));
            break;
        case QStyle::SP_MediaSeekForward:
            triangle(2, 8);
            triangle(8, 14);
            break;
        case QStyle::SP_MediaSeekBackward:
            triangle(8, 2);
            triangle(14, 8);
            break;
        default: {
            // Start again: a circular arrow.
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::FlatCap));
            p.drawArc(QRectF(3, 3, 10, 10), 100 * 16, 290 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            const QPointF head[3] = {{7.0, 0.8}, {11.0, 3.2}, {7.0, 5.6}};
            p.drawPolygon(head, 3);
            break;
        }
        }
    });
}

QToolButton* SpeedButton(QWidget* parent, const QString& name, const QString& hint, int left,
                         int width, const QString& caption = QString(), QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setGeometry(left, 2, width, 22);
    if (icon != QStyle::SP_CustomBase) {
        b->setIcon(TransportIcon(icon, parent->palette().color(QPalette::ButtonText)));
    } else {
        b->setText(caption);
    }
    return b;
}

QLabel* Label(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setGeometry(left, top, width, 17);
    return l;
}

QCheckBox* CheckBox(QWidget* parent, const QString& name, const QString& caption, int left, int width, bool checked) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setGeometry(left, 3, width, 17);
    c->setChecked(checked);
    return c;
}

QPlainTextEdit* Memo(QWidget* parent, const QString& name) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setReadOnly(true);
    m->setFrameShape(QFrame::NoFrame);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setStyleSheet(QStringLiteral("background: transparent;"));
    return m;
}

QAction* Item(QMenu* menu, const QString& name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

// The small bell shown by the groups tree and the "Add bell" items.
QIcon BellIcon(const QColor& colour) {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath bell;
    bell.moveTo(8, 2);
    bell.cubicTo(12, 2, 12, 7, 13, 11);
    bell.lineTo(14, 13);
    bell.lineTo(2, 13);
    bell.lineTo(3, 11);
    bell.cubicTo(4, 7, 4, 2, 8, 2);
    p.fillPath(bell, colour);
    p.setPen(colour.darker(160));
    p.drawPath(bell);
    p.setBrush(colour.darker(160));
    p.drawEllipse(QRectF(6.5, 12.5, 3, 3));
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace

MainForm::MainForm(QMainWindow* w) : window(w) {
    window->setObjectName(QStringLiteral("frmMain"));
    window->setMinimumSize(780, 580);
    window->resize(780, 580);
    client = new QWidget(window);
    client->setObjectName(QStringLiteral("frmMainClient"));
    window->setCentralWidget(client);
    client->resize(780, 559);  // the designed client area; anchored children keep their edges
    auto* clientLayout = new AlignLayout(client, 0);  // the client area has no bevel
    clientLayout->setContentsMargins(0, 0, 0, 0);

    imgBells = {BellIcon(QColor(176, 120, 48)), BellIcon(QColor(90, 130, 170)),
                BellIcon(QColor(150, 150, 150))};

    BuildMenus();
    BuildPopups();

    pnlBells = new TPanel(QStringLiteral("pnlBells"), client, Align::Top, 780, 49);
    imgHot = new QLabel(pnlBells);
    imgHot->setObjectName(QStringLiteral("imgHot"));
    imgHot->setStyleSheet(QStringLiteral("background: rgb(255, 140, 0);"));
    imgHot->setGeometry(2, 43, 50, 4);

    BuildTools();
    pnlMain = new TPanel(QStringLiteral("pnlMain"), client, Align::Client, 780, 400);
    BuildGroupsPanel();
    pnlBellsInfoMain = new TPanel(QStringLiteral("pnlBellsInfoMain"), pnlMain, Align::Client, 600, 400);
    BuildInfoPanel();
    BuildSounds();
    BuildBellsBox();
    BuildRecorder();

    // The pop-ups stand on the tools panel and keep their distance from the left and bottom.
    pnlVolume = new TPanel(QStringLiteral("pnlVolume"), client, Align::None, 116, 217);
    pnlVolume->move(381, 559 - 26 - 217);
    tbVolume = new TSlider(QStringLiteral("tbVolume"), Qt::Vertical, pnlVolume);
    tbVolume->setRange(0, 255);
    tbVolume->setTickPosition(QSlider::TicksBothSides);
    tbVolume->setTickInterval(6);
    tbVolume->setGeometry(40, 8, 36, 201);
    pnlVolume->hide();
    pnlTemp = new TPanel(QStringLiteral("pnlTemp"), client, Align::None, 121, 217);
    pnlTemp->move(545, 559 - 26 - 217);
    tbTemp = new TSlider(QStringLiteral("tbTemp"), Qt::Vertical, pnlTemp);
    tbTemp->setRange(50, 1000);
    tbTemp->setValue(148);
    tbTemp->setTickPosition(QSlider::TicksBothSides);
    tbTemp->setTickInterval(24);
    tbTemp->setGeometry(42, 8, 36, 201);
    pnlTemp->hide();
    clientLayout->AddAnchored(pnlVolume, false, true);
    clientLayout->AddAnchored(pnlTemp, false, true);

    mmTimer = new QTimer(window);
    mmTimer->setObjectName(QStringLiteral("mmTimer"));
    mmTimer->setTimerType(Qt::PreciseTimer);
    mmTimer->setInterval(144);
    mmResetTimer = new QTimer(window);
    mmResetTimer->setObjectName(QStringLiteral("mmResetTimer"));
    mmResetTimer->setInterval(150);
    mmRecTimer = new QTimer(window);
    mmRecTimer->setObjectName(QStringLiteral("mmRecTimer"));
    mmRecTimer->setTimerType(Qt::PreciseTimer);
    mmRecTimer->setInterval(144);
}

void MainForm::BuildMenus() {
    QMenuBar* bar = window->menuBar();
    mFile = bar->addMenu(QStringLiteral("File"));
    mFile->setObjectName(QStringLiteral("mFile"));
    nPrint = Item(mFile, QStringLiteral("nPrint"), QStringLiteral("Print ..."));
    nExportAudio = Item(mFile, QStringLiteral("nExportAudio"), QStringLiteral("Export to audio ..."));
    mFile->addSeparator();
    nExit = Item(mFile, QStringLiteral("nExit"), QStringLiteral("Exit"));

    mBells = bar->addMenu(QStringLiteral("Bells"));
    mBells->setObjectName(QStringLiteral("mBells"));
    nSelectAll = Item(mBells, QStringLiteral("nSelectAll"), QStringLiteral("Select all bells"));
    nDisselectAll = Item(mBells, QStringLiteral("nDisselectAll"), QStringLiteral("Disselect all bells"));
    mBells->addSeparator();
    nLoadSounds = Item(mBells, QStringLiteral("nLoadSounds"), QStringLiteral("Load chimes ..."));
    mBells->addSeparator();
    nKeys = Item(mBells, QStringLiteral("nKeys"), QStringLiteral("Keys ..."));

    mPlayer = bar->addMenu(QStringLiteral("Player"));
    mPlayer->setObjectName(QStringLiteral("mPlayer"));
    nRew = Item(mPlayer, QStringLiteral("nRew"), QStringLiteral("Rewind"));
    nPause = Item(mPlayer, QStringLiteral("nPause"), QStringLiteral("Pause"));
    nPlay = Item(mPlayer, QStringLiteral("nPlay"), QStringLiteral("Play"));
    nRec = Item(mPlayer, QStringLiteral("nRec"), QString::fromUtf8("Запись"));
    nRec->setVisible(false);
    nStop = Item(mPlayer, QStringLiteral("nStop"), QStringLiteral("Stop"));
    nFF = Item(mPlayer, QStringLiteral("nFF"), QStringLiteral("Forward winding"));
    mPlayer->addSeparator();
    nGenerator = Item(mPlayer, QStringLiteral("nGenerator"), QStringLiteral("Casual reproduction"));
    mPlayer->addSeparator();
    nVolumeUp = Item(mPlayer, QStringLiteral("nVolumeUp"), QStringLiteral("Turn up the volume"));
    nVolumeDown = Item(mPlayer, QStringLiteral("nVolumeDown"), QStringLiteral("Turn down the volume"));
    mPlayer->addSeparator();
    nTempUp = Item(mPlayer, QStringLiteral("nTempUp"), QStringLiteral("Accelerate the tempo"));
    nTempDown = Item(mPlayer, QStringLiteral("nTempDown"), QStringLiteral("Pull back"));

    mView = bar->addMenu(QStringLiteral("View"));
    mView->setObjectName(QStringLiteral("mView"));
    nViewPanel = Item(mView, QStringLiteral("nViewPanel"), QStringLiteral("Tools panel"));
    nViewSelectBells = Item(mView, QStringLiteral("nViewSelectBells"), QStringLiteral("Bell selection panel"));
    nViewBellsInfo = Item(mView, QStringLiteral("nViewBellsInfo"), QStringLiteral("Bell information panel"));
    nViewBellsGroups = Item(mView, QStringLiteral("nViewBellsGroups"), QStringLiteral("Bell groups panel"));
    for (QAction* a : {nViewPanel, nViewSelectBells, nViewBellsInfo, nViewBellsGroups}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    mView->addSeparator();
    nViewKeyLabels = Item(mView, QStringLiteral("nViewKeyLabels"), QStringLiteral("Key labels"));
    nViewKeyLabels->setCheckable(true);
    nViewKeyLabels->setChecked(true);

    mReference = bar->addMenu(QStringLiteral("Reference"));
    mReference->setObjectName(QStringLiteral("mReference"));
    nHelp = Item(mReference, QStringLiteral("nHelp"), QStringLiteral("Help ..."));
    nHelp->setShortcut(QKeySequence(Qt::Key_F1));
    nManual = Item(mReference, QStringLiteral("nManual"), QStringLiteral("How to work in the program ..."));
    nManual->setVisible(false);
    mReference->addSeparator();
    nLesson1 = Item(mReference, QStringLiteral("nLesson1"), QStringLiteral("Lesson 1  (small bells) ..."));
    nLesson2 = Item(mReference, QStringLiteral("nLesson2"), QStringLiteral("Lesson 2  (medium-size bells) ..."));
    nLesson3 = Item(mReference, QStringLiteral("nLesson3"), QStringLiteral("Lesson 3  (great bells) ..."));
    mReference->addSeparator();
    nMail = Item(mReference, QStringLiteral("nMail"), QStringLiteral("Contacts ..."));
    N1 = Item(mReference, QStringLiteral("N1"), QStringLiteral("Orvane school of bell ringing ..."));
    nForum = Item(mReference, QStringLiteral("nForum"), QStringLiteral("Forum ..."));
    mReference->addSeparator();
    nAbout = Item(mReference, QStringLiteral("nAbout"), QStringLiteral("About ..."));
}

void MainForm::BuildPopups() {
    mPopup = new QMenu(window);
    mPopup->setObjectName(QStringLiteral("mPopup"));
    nDelete = Item(mPopup, QStringLiteral("nDelete"), QStringLiteral("Delete bell"));
    nAdd = mPopup->addMenu(QStringLiteral("Add bell"));
    nAdd->setObjectName(QStringLiteral("nAdd"));
}

void MainForm::BuildTools() {
    pnlTools = new TPanel(QStringLiteral("pnlTools"), client, Align::Bottom, 780, 26);
    QWidget* p = pnlTools;
    btnRew = SpeedButton(p, QStringLiteral("btnRew"), QStringLiteral("Rewind"), 4, 23, {}, QStyle::SP_MediaSeekBackward);
    btnPause = SpeedButton(p, QStringLiteral("btnPause"), QStringLiteral("Pause"), 27, 23, {}, QStyle::SP_MediaPause);
    btnPlay = SpeedButton(p, QStringLiteral("btnPlay"), QStringLiteral("Play"), 50, 23, {}, QStyle::SP_MediaPlay);
    btnStop = SpeedButton(p, QStringLiteral("btnStop"), QStringLiteral("Stop"), 73, 23, {}, QStyle::SP_MediaStop);
    btnFF = SpeedButton(p, QStringLiteral("btnFF"), QStringLiteral("Forward winding"), 96, 23, {}, QStyle::SP_MediaSeekForward);
    btnGenerator = SpeedButton(p, QStringLiteral("btnGenerator"), QStringLiteral("Casual reproduction"), 119, 23, {},
                               QStyle::SP_BrowserReload);
    tbProgress = new TSlider(QStringLiteral("tbProgress"), Qt::Horizontal, p);
    tbProgress->setRange(0, 0);
    tbProgress->setTickInterval(1);
    tbProgress->setGeometry(146, 3, 140, 20);
    edPage = new QLineEdit(QStringLiteral("1"), p);
    edPage->setObjectName(QStringLiteral("edPage"));
    edPage->setReadOnly(true);
    edPage->setGeometry(290, 3, 30, 20);
    edPage->setEnabled(false);
    udPage = new QSpinBox(p);
    udPage->setObjectName(QStringLiteral("udPage"));
    udPage->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    udPage->setRange(1, 1);
    udPage->setValue(1);
    udPage->setGeometry(320, 3, 16, 20);
    udPage->setEnabled(false);
    btnVolumeDown = SpeedButton(p, QStringLiteral("btnVolumeDown"), QStringLiteral("Turn down the volume"), 357, 23, QStringLiteral("-"));
    btnVolume = SpeedButton(p, QStringLiteral("btnVolume"), QStringLiteral("Volume"), 381, 116, QStringLiteral("Volume: 0"));
    btnVolumeUp = SpeedButton(p, QStringLiteral("btnVolumeUp"), QStringLiteral("Turn up the volume"), 498, 23, QStringLiteral("+"));
    btnTempDown = SpeedButton(p, QStringLiteral("btnTempDown"), QStringLiteral("Pull back"), 522, 23, QStringLiteral("-"));
    btnTemp = SpeedButton(p, QStringLiteral("btnTemp"), QStringLiteral("Tempo"), 545, 121, QStringLiteral("Tempo: 0"));
    btnTempUp = SpeedButton(p, QStringLiteral("btnTempUp"), QStringLiteral("Accelerate the tempo"), 667, 23, QStringLiteral("+"));
    btnSelectAll = SpeedButton(p, QStringLiteral("btnSelectAll"), QStringLiteral("Select all bells"), 700, 23, QStringLiteral("\u2611"));
    btnDisselectAll = SpeedButton(p, QStringLiteral("btnDisselectAll"), QStringLiteral("Disable all bells"), 723, 23, QStringLiteral("\u2610"));
    lblCopyright = Label(p, QStringLiteral("lblCopyright"), QStringLiteral("\u00a9"), 756, 5, 16);
    pnlTools->Layout()->AddAnchored(lblCopyright, true, false);
}

void MainForm::BuildGroupsPanel() {
    pnlBellsGroups = new TPanel(QStringLiteral("pnlBellsGroups"), pnlMain, Align::Right, 174, 400);
    pnlGroupsTools = new TPanel(QStringLiteral("pnlGroupsTools"), pnlBellsGroups, Align::Bottom, 170, 41);
    btnGPrev = new QToolButton(pnlGroupsTools);
    btnGPrev->setObjectName(QStringLiteral("btnGPrev"));
    btnGPrev->setText(QStringLiteral("Previous variant"));
    btnGPrev->setToolTip(QStringLiteral("Previous variant"));
    btnGPrev->setGeometry(4, 4, 81, 33);
    btnGPrev->setEnabled(false);
    btnGNext = new QToolButton(pnlGroupsTools);
    btnGNext->setObjectName(QStringLiteral("btnGNext"));
    btnGNext->setText(QStringLiteral("Next variant"));
    btnGNext->setToolTip(QStringLiteral("Next variant"));
    btnGNext->setGeometry(86, 4, 80, 33);
    btnGNext->setEnabled(false);
    for (QToolButton* b : {btnGPrev, btnGNext}) {
        QFont font = b->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        b->setFont(font);
    }
    pnlGroupsMain = new TPanel(QStringLiteral("pnlGroupsMain"), pnlBellsGroups, Align::Client, 170, 350);
    pnlBanner = new TPanel(QStringLiteral("pnlBanner"), pnlGroupsMain, Align::Top, 166, 87);
    imgBanner = new TImage(QStringLiteral("imgBanner"), pnlBanner);
    imgBanner->setCursor(Qt::PointingHandCursor);
    imgBanner->SetStretch(true);
    AlignChild(imgBanner, Align::Client);
    tvGroups = new QTreeWidget(pnlGroupsMain);
    tvGroups->setObjectName(QStringLiteral("tvGroups"));
    tvGroups->setHeaderHidden(true);
    tvGroups->setContextMenuPolicy(Qt::CustomContextMenu);
    tvGroups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AlignChild(tvGroups, Align::Client);
}

void MainForm::BuildInfoPanel() {
    pnlInfo = new TPanel(QStringLiteral("pnlInfo"), pnlBellsInfoMain, Align::Top, 600, 87);
    pnlBellInfo = new TPanel(QStringLiteral("pnlBellInfo"), pnlInfo, Align::Left, 239, 83);
    imgPreview = new TImage(QStringLiteral("imgPreview"), pnlBellInfo);
    imgPreview->setToolTip(QStringLiteral("Play sound"));
    imgPreview->setCursor(Qt::PointingHandCursor);
    imgPreview->SetStretch(true);
    imgPreview->resize(79, 79);
    AlignChild(imgPreview, Align::Left);
    mBellInfo = Memo(pnlBellInfo, QStringLiteral("mBellInfo"));
    AlignChild(mBellInfo, Align::Client);
    pnlGroupsInfo = new TPanel(QStringLiteral("pnlGroupsInfo"), pnlInfo, Align::Right, 162, 83);
    lblDesc = new QLabel(QStringLiteral("Recommended sets of bells:"), pnlGroupsInfo);
    lblDesc->setObjectName(QStringLiteral("lblDesc"));
    lblDesc->resize(158, 30);
    lblDesc->setWordWrap(true);
    AlignChild(lblDesc, Align::Top);
    mDesc = Memo(pnlGroupsInfo, QStringLiteral("mDesc"));
    mDesc->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    AlignChild(mDesc, Align::Client);
    pnlBellsInfo = new TPanel(QStringLiteral("pnlBellsInfo"), pnlInfo, Align::Client, 200, 83);
    lblBellsInfo = new QLabel(QStringLiteral("The information about the set of bells:"), pnlBellsInfo);
    lblBellsInfo->setObjectName(QStringLiteral("lblBellsInfo"));
    lblBellsInfo->resize(200, 17);
    AlignChild(lblBellsInfo, Align::Top);
    mBellsInfo = Memo(pnlBellsInfo, QStringLiteral("mBellsInfo"));
    AlignChild(mBellsInfo, Align::Client);
}

void MainForm::BuildSounds() {
    pnlSounds = new TPanel(QStringLiteral("pnlSounds"), pnlBellsInfoMain, Align::Client, 600, 300);
    pnlCommonSelections = new TPanel(QStringLiteral("pnlCommonSelections"), pnlSounds, Align::Top, 600, 47);
    pnlView = new TPanel(QStringLiteral("pnlView"), pnlCommonSelections, Align::Right, 158, 43);
    lblView = Label(pnlView, QStringLiteral("lblView"), QStringLiteral("View:"), 6, 3, 140);
    cbView = new QComboBox(pnlView);
    cbView->setObjectName(QStringLiteral("cbView"));
    cbView->addItems({QStringLiteral("General view"), QStringLiteral("Schematic view")});
    cbView->setGeometry(6, 19, 146, 21);
    pnlCommon = new TPanel(QStringLiteral("pnlCommon"), pnlCommonSelections, Align::Client, 400, 43);
    lblCommon = Label(pnlCommon, QStringLiteral("lblCommon"), QStringLiteral("List of accessible chimes:"), 6, 3, 300);
    cbCommon = new QComboBox(pnlCommon);
    cbCommon->setObjectName(QStringLiteral("cbCommon"));
    cbCommon->setGeometry(6, 19, 380, 21);
    cbCommon->setEnabled(false);
    pnlCustomSelections = new TPanel(QStringLiteral("pnlCustomSelections"), pnlSounds, Align::Right, 160, 250);
}

void MainForm::BuildBellsBox() {
    pnlBellsBox = new TPanel(QStringLiteral("pnlBellsBox"), pnlSounds, Align::Client, 440, 250);
    struct GroupDef {
        TPanel** group;
        TPanel** check;
        TPanel** bells;
        TPanel** face;
        const char* name;
        Align align;
    };
    const GroupDef defs[] = {
        {&pnlSmall, &pnlSmallCheck, &pnlSmallBells, &pnlSmallFace, "Small", Align::Top},
        {&pnlBig, &pnlBigCheck, &pnlBigBells, &pnlBigFace, "Big", Align::Bottom},
        {&pnlMiddle, &pnlMiddleCheck, &pnlMiddleBells, &pnlMiddleFace, "Middle", Align::Client},
    };
    for (const GroupDef& d : defs) {
        const QString n = QString::fromLatin1(d.name);
        *d.group = new TPanel(QStringLiteral("pnl") + n, pnlBellsBox, d.align, 440, 80);
        *d.check = new TPanel(QStringLiteral("pnl") + n + QStringLiteral("Check"), *d.group, Align::Top, 436, 23);
        *d.bells = new TPanel(QStringLiteral("pnl") + n + QStringLiteral("Bells"), *d.group, Align::Client, 436, 53);
        *d.face = new TPanel(QStringLiteral("pnl") + n + QStringLiteral("Face"), *d.bells, Align::Client, 432, 49);
        auto* caption = new QLabel(QStringLiteral("Score disabled"), *d.face);
        caption->setAlignment(Qt::AlignCenter);
        AlignChild(caption, Align::Client);
        (*d.face)->hide();
    }
    cbSmall = CheckBox(pnlSmallCheck, QStringLiteral("cbSmall"), QStringLiteral("Small bells"), 6, 140, true);
    cbStereo = CheckBox(pnlSmallCheck, QStringLiteral("cbStereo"), QStringLiteral("Stereo"), 190, 70, true);
    cbGrid = CheckBox(pnlSmallCheck, QStringLiteral("cbGrid"), QStringLiteral("Simplified view"), 270, 130, false);
    cbMiddle = CheckBox(pnlMiddleCheck, QStringLiteral("cbMiddle"), QStringLiteral("Medium-size bells"), 6, 150, true);
    lblLong = Label(pnlMiddleCheck, QStringLiteral("lblLong"), QStringLiteral("General duration: 0:00:00"), 210, 3, 170);
    lblLong->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPlayTime = Label(pnlMiddleCheck, QStringLiteral("lblPlayTime"), QStringLiteral("0:00:00"), 382, 3, 50);
    lblPlayTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cbBig = CheckBox(pnlBigCheck, QStringLiteral("cbBig"), QStringLiteral("Great bells"), 6, 140, true);
    cbShowNotes = CheckBox(pnlBigCheck, QStringLiteral("cbShowNotes"), QStringLiteral("Score"), 250, 70, true);
    cbShowMovie = CheckBox(pnlBigCheck, QStringLiteral("cbShowMovie"), QStringLiteral("Animation"), 330, 100, true);
    for (QWidget* w : std::initializer_list<QWidget*>{cbStereo, cbGrid, lblLong, lblPlayTime, cbShowNotes, cbShowMovie}) {
        static_cast<TPanel*>(w->parentWidget())->Layout()->AddAnchored(w, true, false);
    }
}

void MainForm::BuildRecorder() {
    pnlRec = new TPanel(QStringLiteral("pnlRec"), pnlBellsBox, Align::None, 440, 250);
    pnlRecTop = new TPanel(QStringLiteral("pnlRecTop"), pnlRec, Align::Top, 436, 26);
    lblRec = Label(pnlRecTop, QStringLiteral("lblRec"), QString::fromUtf8("Запись звона"), 8, 4, 110);
    lblRecStatus = Label(pnlRecTop, QStringLiteral("lblRecStatus"), QString(), 120, 4, 170);
    lblLongRec = Label(pnlRecTop, QStringLiteral("lblLongRec"), QString(), 292, 4, 200);
    btnRecClose = new QToolButton(pnlRecTop);
    btnRecClose->setObjectName(QStringLiteral("btnRecClose"));
    btnRecClose->setText(QStringLiteral("X"));
    btnRecClose->setToolTip(QString::fromUtf8("Закрыть панель записи"));
    btnRecClose->setGeometry(410, 2, 22, 22);
    pnlRecTop->Layout()->AddAnchored(btnRecClose, true, false);
    pnlRecTools = new TPanel(QStringLiteral("pnlRecTools"), pnlRec, Align::Top, 436, 30);
    btnRecStart = SpeedButton(pnlRecTools, QStringLiteral("btnRecStart"), QString::fromUtf8("Начать запись"), 4, 26, {},
                              QStyle::SP_DialogYesButton);
    btnRecStop = SpeedButton(pnlRecTools, QStringLiteral("btnRecStop"), QString::fromUtf8("Остановить запись"), 32, 26, {},
                             QStyle::SP_MediaStop);
    btnRecOpen = SpeedButton(pnlRecTools, QStringLiteral("btnRecOpen"), QString::fromUtf8("Открыть файл ..."), 60, 26, {},
                             QStyle::SP_DialogOpenButton);
    btnRecSaveAs = SpeedButton(pnlRecTools, QStringLiteral("btnRecSaveAs"), QString::fromUtf8("Сохранить как ..."), 88, 26,
                               {}, QStyle::SP_DialogSaveButton);
    for (QToolButton* b : {btnRecStart, btnRecStop, btnRecOpen, btnRecSaveAs}) {
        b->setGeometry(b->x(), 2, 26, 26);
    }
    imgRecDecor = new QLabel(pnlRecTools);
    imgRecDecor->setObjectName(QStringLiteral("imgRecDecor"));
    imgRecDecor->setPixmap(imgBells.value(0).pixmap(16, 16));
    imgRecDecor->setGeometry(122, 7, 16, 16);
    lblString = Label(pnlRecTools, QStringLiteral("lblString"), QString::fromUtf8("Строка: 0"), 146, 7, 120);
    pnlRecEditor = new TPanel(QStringLiteral("pnlRecEditor"), pnlRec, Align::Client, 436, 190);
    mRecList = new QPlainTextEdit(pnlRecEditor);
    mRecList->setObjectName(QStringLiteral("mRecList"));
    mRecList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mRecList->setLineWrapMode(QPlainTextEdit::NoWrap);
    AlignChild(mRecList, Align::Client);
    pnlRec->hide();
}

TPanel* MainForm::ScorePanel(int group) const {
    return group == 0 ? pnlSmallBells : group == 1 ? pnlMiddleBells : pnlBigBells;
}

TPanel* MainForm::ScoreCover(int group) const {
    return group == 0 ? pnlSmallFace : group == 1 ? pnlMiddleFace : pnlBigFace;
}

TPanel* MainForm::GroupPanel(int group) const {
    return group == 0 ? pnlSmall : group == 1 ? pnlMiddle : pnlBig;
}

}  // namespace orvane
