#include "practice/ui/PracticeOverlay.h"

#include "practice/core/PracticeMarks.h"
#include "score/core/ScorePainter.h"

#include <QEvent>
#include <QPainter>

namespace orvane {

PracticeOverlay::PracticeOverlay(QWidget* image, StaffSource staff, PageSource page, ValidSource valid,
                                 const std::array<int, BellSet::kBellCount>& rankOfBell)
    : QWidget(image), staff_(std::move(staff)), page_(std::move(page)), valid_(std::move(valid)), rankOfBell_(rankOfBell) {
    setObjectName(QStringLiteral("wPracticeOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    setAttribute(Qt::WA_NoSystemBackground, true);
    setAttribute(Qt::WA_TranslucentBackground, true);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(image->rect());
    image->installEventFilter(this);
    raise();
    show();
}

void PracticeOverlay::SetMatcher(const StrokeMatcher* matcher) {
    matcher_ = matcher;
    Refresh();
}

ScorePrimitives PracticeOverlay::Marks() const {
    if (!matcher_ || (valid_ && !valid_())) {
        return {};
    }
    const ScoreLayout layout(staff_());
    return PracticeMarks::Page(layout, *matcher_, page_(), rankOfBell_);
}

void PracticeOverlay::Refresh() {
    const ScorePrimitives marks = Marks();
    if (marks != shown_) {
        update();
    }
}

bool PracticeOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

void PracticeOverlay::paintEvent(QPaintEvent*) {
    shown_ = Marks();
    QPainter painter(this);
    ScorePainter::Paint(painter, shown_);
}

}  // namespace orvane
