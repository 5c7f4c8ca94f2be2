#pragma once

#include "practice/core/StrokeMatcher.h"
#include "score/core/ScoreLayout.h"

#include <QWidget>
#include <functional>

namespace orvane {

// A transparent layer over one score image that draws the practice marks of the page the score
// shows: it follows the image's size, lets every mouse event through to the image, and paints
// PracticeMarks::Page for the staff the image shows. User-interface thread; a child of the
// image, so it goes with it.
class PracticeOverlay : public QWidget {
    Q_OBJECT

  public:
    // staff: the staff the image shows now (its size included); page: the current page.
    using StaffSource = std::function<ScoreStaff()>;
    using PageSource = std::function<int()>;
    // True while the score shown is the one the marks belong to.
    using ValidSource = std::function<bool()>;

    PracticeOverlay(QWidget* image, StaffSource staff, PageSource page, ValidSource valid,
                    const std::array<int, BellSet::kBellCount>& rankOfBell);

    // The pass whose marks are drawn; null draws nothing. The matcher must outlive its use here.
    void SetMatcher(const StrokeMatcher* matcher);
    // Repaints when the marks (or the page) may have changed.
    void Refresh();
    // The marks drawn by the last paint, for tests.
    const ScorePrimitives& Shown() const { return shown_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    ScorePrimitives Marks() const;

    StaffSource staff_;
    PageSource page_;
    ValidSource valid_;
    std::array<int, BellSet::kBellCount> rankOfBell_{};
    const StrokeMatcher* matcher_ = nullptr;
    ScorePrimitives shown_;
};

}  // namespace orvane
