#include "score/ui/ScoreController.h"

#include "app/core/Guard.h"
#include "app/core/ProgramData.h"
#include "app/ui/TImage.h"
#include "app/ui/TPanel.h"
#include "app/ui/TSlider.h"
#include "catalogue/core/BellSetModel.h"
#include "chime/core/TChannels.h"
#include "score/core/ScoreChange.h"
#include "chime/core/TransportModel.h"
#include "chime/core/TransportRequests.h"
#include "score/core/ScoreLayout.h"
#include "score/core/ScorePainter.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>

namespace orvane {

namespace {

// Input events with which the user changes the page selector: its arrows (pressed, held:
// the auto-repeat runs on the selector's own timer), its keys and the wheel.
bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Timer:
            return true;
        default:
            return false;
    }
}

// A score image of `logical` size in pixels of the screen the control is on: drawn with
// logical coordinates, sharp at any device pixel ratio.
QImage Canvas(const TImage& image, QSize logical) {
    const qreal ratio = image.devicePixelRatioF();
    QImage canvas((QSizeF(logical.expandedTo(QSize(1, 1))) * ratio).toSize(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    return canvas;
}

const QStringList& EmptySteps() {
    static const QStringList kEmpty;
    return kEmpty;
}

bool SameStaff(const ScoreStaff& a, const ScoreStaff& b) {
    return a.group == b.group && a.bellCount == b.bellCount && a.width == b.width &&
           a.height == b.height && a.simplified == b.simplified && a.background == b.background;
}

}  // namespace

ScoreController::ScoreController(QWidget& window, ScoreWidgets widgets, ProgramData& data, BellSetModel& bells, const TransportModel& transport,
                                 TransportRequests& requests)
    : window_(window), widgets_(widgets), data_(data), bells_(bells), transport_(transport), requests_(requests) {}

void ScoreController::Connect() {
    const ScoreWidgets& f = widgets_;
    Wire(f.cbGrid, &QCheckBox::clicked, this, &ScoreController::cbGridClick);
    Wire(f.cbShowNotes, &QCheckBox::clicked, this, &ScoreController::cbShowNotesClick);
    connect(f.udPage, &QSpinBox::valueChanged, this, [this](int value) {
        Guarded([&] { widgets_.edPage->setText(QString::number(value)); });
        if (userPageInput_ > 0) {
            Guarded([&] { udPageClick(); });
        }
    });
    f.udPage->installEventFilter(this);
    f.edPage->setText(QString::number(f.udPage->value()));
}

void ScoreController::ResetDrawingState() {
    redrawCount_ = 0;
}

void ScoreController::CreateScoreImages() {
    const ScoreWidgets& f = widgets_;
    QSize workArea(1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        workArea = screen->availableGeometry().size();
    }
    for (int g = 0; g < 3; ++g) {
        TPanel* panel = f.ScorePanels[g];
        auto* image = new TImage(QStringLiteral("imgScore%1").arg(g), panel);
        image->SetInPlace(true);
        image->setProperty("tag", g);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setGeometry(0, 0, workArea.width(), workArea.height());
        image->show();
        images_[g] = image;
        // The covers were created with the panels; they stay above the score image.
        f.ScoreCovers[g]->raise();
        panel->installEventFilter(this);
    }
}

void ScoreController::Release() {
    for (int g = 2; g >= 0; --g) {
        if (TPanel* panel = widgets_.ScorePanels[g]) {
            panel->removeEventFilter(this);
        }
        delete images_[g];
        images_[g] = nullptr;
        shown_[g] = Shown{};
    }
}

TImage* ScoreController::ScoreImage(int group) const {
    return group >= 0 && group < 3 ? images_[group].data() : nullptr;
}

QImage ScoreController::ScorePicture(int group) const {
    const TImage* image = ScoreImage(group);
    return image ? image->Picture() : QImage();
}

QColor ScoreController::Background() const {
    return window_.palette().color(QPalette::Window);
}

void ScoreController::FitImage(int group) {
    TImage* image = images_[group];
    if (!image) {
        return;
    }
    const TPanel* panel = widgets_.ScorePanels[group];
    if (image->size() != panel->size()) {
        image->setGeometry(0, 0, panel->width(), panel->height());
    }
}

void ScoreController::DrawStaff(int group, bool withPage) {
    TImage* image = images_[group];
    if (!image) {
        return;
    }
    FitImage(group);
    const ScoreWidgets& f = widgets_;
    const ScoreStaff staff{group,
                           bells_.Bells.GroupCount(group + 1),
                           image->width(),
                           image->height(),
                           f.cbGrid->isChecked(),
                           Background()};
    ScoreLayout layout(staff);
    const QStringList& steps = data_.Channels ? data_.Channels->GroupSteps(group) : EmptySteps();
    ScorePrimitives primitives =
        withPage ? layout.Draw(steps, transport_.CurrentPage) : layout.Grid();
    const QSize size(qMax(1, staff.width), qMax(1, staff.height));
    // The picture is drawn where it is, at the screen's pixel ratio; only the pixels that
    // differ from what the same staff showed are drawn again (all of them for a new size, ratio,
    // staff or picture).
    QImage& canvas = image->EditPicture();
    Shown& shown = shown_[group];
    QRegion area(QRect(QPoint(0, 0), size));
    const qreal ratio = image->devicePixelRatioF();
    if (canvas.size() != (QSizeF(size) * ratio).toSize() || canvas.devicePixelRatio() != ratio ||
        canvas.format() != QImage::Format_RGB32) {
        canvas = Canvas(*image, size);
    } else if (shown.valid && SameStaff(shown.staff, staff)) {
        area = ScoreChange::Area(shown.primitives, primitives, size);
    }
    shown.valid = false;
    ScorePainter::Paint(canvas, primitives, area);
    shown = Shown{true, staff, std::move(primitives)};
    image->PictureChanged(area);
}

void ScoreController::FillBackground(int group) {
    TImage* image = images_[group];
    if (!image) {
        return;
    }
    FitImage(group);
    shown_[group].valid = false;
    QImage canvas = Canvas(*image, image->size());
    canvas.fill(Background());
    image->SetPicture(canvas);
}

void ScoreController::RedrawScore() {
    ++redrawCount_;
    // Clearing, the grid and the page are one pass per staff: the grid starts by filling the
    // whole image. A failing staff leaves what it drew and the others are still drawn.
    for (int g = 0; g < 3; ++g) {
        Guarded([&] { DrawStaff(g, true); });
    }
}

void ScoreController::DrawScoreGrid() {
    for (int g = 0; g < 3; ++g) {
        Guarded([&] { DrawStaff(g, false); });
    }
}

void ScoreController::DrawScorePage() {
    for (int g = 0; g < 3; ++g) {
        Guarded([&] {
            TImage* image = images_[g];
            if (!image || !image->HasPicture()) {
                return;
            }
            shown_[g].valid = false;
            QImage canvas = image->Picture();
            const QSize logical = canvas.deviceIndependentSize().toSize();
            const ScoreStaff staff{g,
                                   bells_.Bells.GroupCount(g + 1),
                                   logical.width(),
                                   logical.height(),
                                   widgets_.cbGrid->isChecked(),
                                   Background()};
            ScoreLayout layout(staff);
            const QStringList& steps =
                data_.Channels ? data_.Channels->GroupSteps(g) : EmptySteps();
            ScorePainter::Paint(canvas, layout.Page(steps, transport_.CurrentPage));
            image->SetPicture(canvas);
        });
    }
}

void ScoreController::ShowScore() {
    const ScoreWidgets& f = widgets_;
    for (int g = 0; g < 3; ++g) {
        f.ScoreCovers[g]->SetShown(false);
    }
    RedrawScore();
    for (int g = 0; g < 3; ++g) {
        if (QWidget* marker = widgets_.Markers[g]) {
            marker->show();
            marker->raise();
        }
    }
}

void ScoreController::HideScore() {
    const ScoreWidgets& f = widgets_;
    for (int g = 0; g < 3; ++g) {
        Guarded([&] { FillBackground(g); });
        if (QWidget* marker = widgets_.Markers[g]) {
            marker->hide();
        }
    }
    for (int g = 0; g < 3; ++g) {
        TPanel* cover = f.ScoreCovers[g];
        cover->SetShown(true);
        cover->raise();
    }
}

void ScoreController::cbGridClick() {
    if (widgets_.cbShowNotes->isChecked()) {
        RedrawScore();
    }
}

void ScoreController::cbShowNotesClick() {
    if (widgets_.cbShowNotes->isChecked()) {
        ShowScore();
    } else {
        HideScore();
    }
}

void ScoreController::udPageClick() {
    const ScoreWidgets& f = widgets_;
    const int page = f.udPage->value();
    requests_.RequestPage(page - 1);
    requests_.RequestPosition(64 * page - 65);
    if (f.cbShowNotes->isChecked()) {
        RedrawScore();
    }
    f.tbProgress->SetPosition(64 * (page - 1));
}

bool ScoreController::eventFilter(QObject* watched, QEvent* event) {
    const ScoreWidgets& f = widgets_;
    if (watched == f.udPage && IsUserInput(event->type())) {
        // The selector handles the event here, so that the value changes it makes are known
        // to come from the user.
        ++userPageInput_;
        static_cast<QObject*>(f.udPage)->event(event);
        --userPageInput_;
        return true;
    }
    if (event->type() == QEvent::Resize) {
        for (int g = 0; g < 3; ++g) {
            if (watched == f.ScorePanels[g]) {
                FitImage(g);
                ScheduleRefit();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void ScoreController::ScheduleRefit() {
    if (refitPending_) {
        return;
    }
    refitPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refitPending_ = false;
        Guarded([&] { RefitPictures(); });
    });
}

void ScoreController::RefitPictures() {
    bool stale = false;
    for (int g = 0; g < 3; ++g) {
        const TImage* image = images_[g];
        stale = stale || (image && (image->Picture().deviceIndependentSize().toSize() != image->size() ||
                                    image->Picture().devicePixelRatio() != image->devicePixelRatioF()));
    }
    if (!stale) {
        return;
    }
    if (widgets_.cbShowNotes->isChecked()) {
        RedrawScore();
        return;
    }
    for (int g = 0; g < 3; ++g) {
        Guarded([&] { FillBackground(g); });
    }
}

}  // namespace orvane
