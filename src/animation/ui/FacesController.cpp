#include "animation/ui/FacesController.h"

#include "app/core/Guard.h"
#include "app/core/PictureFile.h"
#include "app/core/ProgramData.h"
#include "app/core/ViewModel.h"
#include "app/core/ViewRequests.h"
#include "app/ui/TImage.h"
#include "app/ui/TPanel.h"
#include "catalogue/core/BellSetModel.h"
#include "chime/core/TChannels.h"
#include "score/core/PrintPage.h"

#include <QMainWindow>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QPainter>
#include <QTimer>

namespace orvane {

namespace {

constexpr int kDefaultComboHeight = 21;
const char* const kRowPrefixes[FacesController::kRows] = {"s", "m", "b", "3s"};

// Group index (0 small, 1 medium-size, 2 great) of a picture row.
int GroupOfRow(int row) {
    return row == 3 ? 0 : row;
}

int RowOfLetter(QChar letter) {
    if (letter == u'm') {
        return 1;
    }
    if (letter == u'b') {
        return 2;
    }
    return 0;
}

}  // namespace

FacesController::FacesController(FacesWidgets widgets, ProgramData& data, BellSetModel& bells, const ViewModel& view,
                                 ViewRequests& viewRequests)
    : widgets_(widgets), data_(data), bells_(bells), view_(view), viewRequests_(viewRequests) {}

void FacesController::Connect() {
    const FacesWidgets& f = widgets_;
    Wire(f.cbView, &QComboBox::currentIndexChanged, this, &FacesController::cbViewChange);
    Wire(f.cbShowMovie, &QCheckBox::clicked, this, &FacesController::cbShowMovieClick);
    Wire(f.mmResetTimer, &QTimer::timeout, this, &FacesController::mmResetTimerTimer);
}

QImage FacesController::LoadAnimatePicture(const QString& name) const {
    const QString path = data_.AppPath.AnimateDir + name;
    if (!QFileInfo::exists(path)) {
        return {};
    }
    return ReadPictureFile(path);
}

QImage FacesController::TextPicture(const QString& file, const QString& text, int x, int y) const {
    QImage picture = LoadAnimatePicture(file);
    if (picture.isNull()) {
        picture = QImage(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
        picture.fill(Qt::white);
    } else {
        picture = picture.convertToFormat(QImage::Format_RGB32);
    }
    // The text is written at the screen's pixel ratio (the picture's pixels doubled at x2), so
    // that it stays sharp; the picture keeps its logical size.
    const qreal ratio = widgets_.window->devicePixelRatioF();
    if (ratio != 1.0) {
        const QSize logical = picture.size();
        picture = picture.scaled((QSizeF(logical) * ratio).toSize(), Qt::IgnoreAspectRatio,
                                 Qt::FastTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    {
        const QSize logical = picture.deviceIndependentSize().toSize();
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x, y, qMax(1, logical.width() - x), qMax(1, logical.height() - y)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    return WithTransparentColor(picture, Qt::white);
}

TImage* FacesController::MakeTextPicture(const QString& objectName, const QImage& picture) {
    auto* image = new TImage(objectName, widgets_.pnlCustomSelections);
    image->SetPicture(picture);
    image->setAttribute(Qt::WA_TranslucentBackground);
    image->hide();
    return image;
}

void FacesController::CreateFaces() {
    const FacesWidgets& f = widgets_;
    for (int set = 0; set < kSets; ++set) {
        for (int row = 0; row < kRows; ++row) {
            for (int frame = 0; frame < kFrames; ++frame) {
                const QString name = (set == 1 ? QStringLiteral("l") : QString()) +
                                     QString::fromLatin1(kRowPrefixes[row]) + u'_' +
                                     QString::number(frame) + QStringLiteral(".bmp");
                auto* face =
                    new TImage(QStringLiteral("imgFace%1_%2_%3").arg(set).arg(row).arg(frame),
                               f.pnlCustomSelections);
                face->setProperty("tag", row);
                face->resize(kFaceWidth, kFaceHeight);
                // Most frames stay hidden until their bell is struck: each is read when first shown.
                face->SetPictureFile(data_.AppPath.AnimateDir + name);
                face->setVisible(set == 0 && frame == 0);
                faces_[set][row][frame] = face;
            }
        }
    }
    // The three groups share one picture of each kind (the image data is shared, not copied).
    const QImage chord = TextPicture(QStringLiteral("accord.bmp"), QStringLiteral("Cords playing"), 20, 26);
    for (int g = 0; g < 3; ++g) {
        chords_[g] = MakeTextPicture(QStringLiteral("imgChord%1").arg(g), chord);
        chords_[g]->resize(kFaceWidth, kFaceHeight);
    }
    const QImage disabled =
        TextPicture(QStringLiteral("disable.bmp"), QStringLiteral("Animation disabled"), 10, 26);
    for (int g = 0; g < 3; ++g) {
        disabled_[g] = MakeTextPicture(QStringLiteral("imgDisabled%1").arg(g), disabled);
        disabled_[g]->resize(kFaceWidth, kFaceHeight);
    }
    LayoutFaces();
    for (int g = 0; g < 3; ++g) {
        f.GroupPanels[g]->installEventFilter(this);
    }
}

bool FacesController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        const FacesWidgets& f = widgets_;
        if (watched == f.pnlSmall || watched == f.pnlMiddle || watched == f.pnlBig) {
            Guarded([&] { LayoutFaces(); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void FacesController::Release() {
    for (int g = 0; g < 3; ++g) {
        widgets_.GroupPanels[g]->removeEventFilter(this);
    }
    for (int g = 2; g >= 0; --g) {
        delete disabled_[g];
        disabled_[g] = nullptr;
    }
    for (int g = 2; g >= 0; --g) {
        delete chords_[g];
        chords_[g] = nullptr;
    }
    for (int set = kSets - 1; set >= 0; --set) {
        for (int row = kRows - 1; row >= 0; --row) {
            for (int frame = kFrames - 1; frame >= 0; --frame) {
                delete faces_[set][row][frame];
                faces_[set][row][frame] = nullptr;
            }
        }
    }
}

void FacesController::LayoutFaces() {
    const FacesWidgets& f = widgets_;
    const QComboBox* box = widgets_.GroupChimeBoxes[0];
    const int h = box ? box->height() : kDefaultComboHeight;
    std::array<int, kRows> tops{};
    for (int row = 0; row < kRows; ++row) {
        tops[row] = f.GroupPanels[GroupOfRow(row)]->y() + h + 8;
    }
    for (int set = 0; set < kSets; ++set) {
        for (int row = 0; row < kRows; ++row) {
            for (int frame = 0; frame < kFrames; ++frame) {
                if (TImage* face = faces_[set][row][frame]) {
                    face->setGeometry(kFaceLeft, tops[row], kFaceWidth, kFaceHeight);
                }
            }
        }
    }
    for (int g = 0; g < 3; ++g) {
        for (TImage* picture : {chords_[g].data(), disabled_[g].data()}) {
            if (picture) {
                picture->setGeometry(kFaceLeft, tops[g], kFaceWidth, kFaceHeight);
            }
        }
    }
}

TImage* FacesController::Face(int set, int row, int frame) const {
    if (set < 0 || set >= kSets || row < 0 || row >= kRows || frame < 0 || frame >= kFrames) {
        return nullptr;
    }
    return faces_[set][row][frame];
}

TImage* FacesController::ChordPicture(int group) const {
    return group >= 0 && group < 3 ? chords_[group].data() : nullptr;
}

TImage* FacesController::DisabledPicture(int group) const {
    return group >= 0 && group < 3 ? disabled_[group].data() : nullptr;
}

int FacesController::CurrentSet() const {
    return view_.SchematicView ? 1 : 0;
}

bool FacesController::ManySmallBells() const {
    return bells_.Bells.GroupCount(kSmallGroup) >= 4;
}

QString FacesController::AnimationToken(int bell) const {
    const BellSet& set = bells_.Bells;
    if (bell < 0 || bell >= BellSet::kBellCount || !set.inSet[bell]) {
        return {};
    }
    const int code = set.group[bell];
    if (code < kSmallGroup || code > kGreatGroup) {
        return {};
    }
    int position = 0;
    for (int i = 0; i <= bell; ++i) {
        if (set.inSet[i] && set.group[i] == code) {
            ++position;
        }
    }
    return QString(orvane::GroupLetter(code)) + QString::number(position);
}

void FacesController::AnimateBell(int bell) {
    if (bells_.Bells.SetSize() <= 4) {
        return;
    }
    const QString token = AnimationToken(bell);
    if (token.size() != 2 || !token[1].isDigit()) {
        return;  // no usable token; a group never holds more than 7 bells
    }
    const QChar letter = token[0];
    const int frame = token[1].digitValue();
    int row = 1;
    if (letter == u's') {
        row = bells_.Bells.GroupCount(kSmallGroup) > 3 ? 0 : 3;
    } else if (letter == u'b') {
        row = 2;
    }
    const int group = GroupOfRow(row);
    if (data_.Channels && data_.Channels->GroupAnimation[group]) {
        ClearGroupFrames(letter);
        if (TImage* face = Face(CurrentSet(), row, frame)) {
            face->show();
            face->raise();
        }
        widgets_.mmResetTimer->stop();
    } else if (TImage* chord = chords_[group]) {
        chord->show();
    }
}

void FacesController::ClearGroupFrames(QChar letter) {
    const int first = ManySmallBells() ? 1 : 0;
    const int row = RowOfLetter(letter);
    for (int set = 0; set < kSets; ++set) {
        for (int frame = first; frame < kFrames; ++frame) {
            if (TImage* face = faces_[set][row][frame]) {
                face->hide();
            }
        }
        if (row == 0) {
            for (int frame = 0; frame < kFrames; ++frame) {
                if (TImage* face = faces_[set][3][frame]) {
                    face->hide();
                }
            }
        }
    }
    if (!widgets_.cbShowMovie->isChecked() || !data_.Channels) {
        return;
    }
    for (int g = 0; g < 3; ++g) {
        TImage* chord = chords_[g];
        if (!chord) {
            continue;
        }
        const bool chords = !data_.Channels->GroupAnimation[g];
        if (chords) {
            // Drawn over whatever frame the group still shows: that frame shows through the
            // picture's transparent (white) parts.
            chord->raise();
        }
        chord->setVisible(chords);
    }
}

void FacesController::ShowRestFrames() {
    const std::array<bool, 3> animated =
        data_.Channels ? data_.Channels->GroupAnimation : std::array<bool, 3>{true, true, true};
    const QChar letters[3] = {u's', u'm', u'b'};
    for (int g = 0; g < 3; ++g) {
        if (animated[g]) {
            ClearGroupFrames(letters[g]);
        }
    }
    const std::array<int, 3> rows =
        ManySmallBells() ? std::array<int, 3>{0, 1, 2} : std::array<int, 3>{1, 2, 3};
    for (int row : rows) {
        if (!animated[GroupOfRow(row)]) {
            continue;
        }
        if (TImage* face = Face(CurrentSet(), row, 0)) {
            face->show();
        }
    }
}

void FacesController::HideOtherSet() {
    const int other = 1 - CurrentSet();
    for (int row = 0; row < kRows; ++row) {
        for (int frame = 0; frame < kFrames; ++frame) {
            if (TImage* face = faces_[other][row][frame]) {
                face->hide();
            }
        }
    }
}

void FacesController::ApplyViewAtStart() {
    ShowRestFrames();
    HideOtherSet();
}

void FacesController::cbViewChange() {
    viewRequests_.RequestSchematicView(widgets_.cbView->currentIndex() > 0);
    ShowRestFrames();
    HideOtherSet();
}

void FacesController::cbShowMovieClick() {
    const FacesWidgets& f = widgets_;
    const QChar letters[3] = {u's', u'm', u'b'};
    if (f.cbShowMovie->isChecked()) {
        for (TImage* picture : disabled_) {
            if (picture) {
                picture->hide();
            }
        }
        for (QChar letter : letters) {
            ClearGroupFrames(letter);
        }
        ShowRestFrames();
        f.cbView->setEnabled(true);
        return;
    }
    f.mmResetTimer->stop();
    for (QChar letter : letters) {
        ClearGroupFrames(letter);
    }
    // Every group shows "Animation disabled" alone: the rest pictures that the group reset
    // keeps for a set of four or more small bells go too.
    for (auto& rows : faces_) {
        for (auto& frames : rows) {
            for (TImage* face : frames) {
                if (face) {
                    face->hide();
                }
            }
        }
    }
    for (TImage* chord : chords_) {
        if (chord) {
            chord->hide();
        }
    }
    for (TImage* picture : disabled_) {
        if (picture) {
            picture->show();
            picture->raise();
        }
    }
    f.cbView->setEnabled(false);
}

void FacesController::mmResetTimerTimer() {
    ShowRestFrames();
    widgets_.mmResetTimer->stop();
}

}  // namespace orvane
