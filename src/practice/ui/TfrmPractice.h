#pragma once

#include "practice/core/PracticeStats.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace orvane {

// The ring-along panel: which groups the learner rings, the count-in and its click, Start and
// Stop, the live figures of the pass and the legend of the marks on the score. A tool window
// of the main window, not modal, so the keys and the score stay in use. Holds no state of the
// pass; the practice controller fills it. User-interface thread.
class TfrmPractice : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmPractice(QWidget* parent);

    std::array<QCheckBox*, 3> cbGroups{};
    QCheckBox* cbCountIn;
    QCheckBox* cbClick;
    QPushButton* btnStart;
    QPushButton* btnStop;
    QLabel* lblStatus;
    QLabel* lblStrokes;
    QLabel* lblHits;
    QLabel* lblMean;
    QLabel* lblSpread;
    QLabel* lblWithin;

    std::array<bool, 3> Groups() const;
    void SetGroups(const std::array<bool, 3>& groups);
    // Shows the figures of the pass so far.
    void ShowFigures(const StrokeSummary& summary);
    // Start is possible with at least one group and no pass running; Stop while one runs.
    void SetRunning(bool running);

  signals:
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Keys reach the program's bell keys, not the panel's buttons.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void UpdateStart();
    bool running_ = false;
};

}  // namespace orvane
