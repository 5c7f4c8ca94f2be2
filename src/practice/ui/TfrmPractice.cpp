#include "practice/ui/TfrmPractice.h"

#include "practice/core/PracticeMarks.h"
#include "practice/core/PracticeReport.h"
#include "score/core/ScorePainter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace orvane {

namespace {

// The legend: one sample mark per class with its meaning.
class Legend : public QWidget {
  public:
    explicit Legend(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("wPracticeLegend"));
        setMinimumSize(290, 6 * kRow + 6);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        const struct {
            NoteResult result;
            double error;
            const char* text;
        } rows[] = {{NoteResult::OnTime, 0, "on time (within 20 ms)"},
                    {NoteResult::SlightlyOff, 30, "a little off (20-50 ms); bar: behind"},
                    {NoteResult::Off, -60, "off (over 50 ms); bars: ahead"},
                    {NoteResult::WrongBell, 0, "wrong bell"},
                    {NoteResult::Missed, 0, "missed"}};
        int y = kRow / 2 + 2;
        for (const auto& row : rows) {
            const QPoint centre(26, y);
            ScorePrimitives marks;
            marks.append(ScorePrimitive::MakeEllipse({centre.x() - 3, centre.y() - 2}, {centre.x() + 3, centre.y() + 2},
                                                     ScoreLayout::kMusicColor, ScoreLayout::kMusicColor));
            marks += PracticeMarks::Mark(row.result, centre, row.error);
            ScorePainter::Paint(p, marks);
            p.setPen(palette().windowText().color());
            p.drawText(QRect(52, y - kRow / 2, width() - 52, kRow), Qt::AlignVCenter, QString::fromUtf8(row.text));
            y += kRow;
        }
        ScorePainter::Paint(p, PracticeMarks::ExtraMark({26, y}));
        p.setPen(palette().windowText().color());
        p.drawText(QRect(52, y - kRow / 2, width() - 52, kRow), Qt::AlignVCenter, QStringLiteral("extra stroke"));
    }

  private:
    static constexpr int kRow = 22;
};

QLabel* Figure(QWidget* parent, const char* name) {
    auto* label = new QLabel(QStringLiteral("-"), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

TfrmPractice::TfrmPractice(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPractice"));
    setWindowTitle(QStringLiteral("Ring along"));
    setWindowFlag(Qt::Tool, true);
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    auto* groupsBox = new QGroupBox(QStringLiteral("Groups you ring"), this);
    auto* groupsLayout = new QVBoxLayout(groupsBox);
    const char* names[3] = {"cbPracticeSmall", "cbPracticeMiddle", "cbPracticeBig"};
    const char* captions[3] = {"Small bells", "Medium-size bells", "Great bells"};
    for (int g = 0; g < 3; ++g) {
        cbGroups[std::size_t(g)] = new QCheckBox(QString::fromLatin1(captions[g]), groupsBox);
        cbGroups[std::size_t(g)]->setObjectName(QString::fromLatin1(names[g]));
        groupsLayout->addWidget(cbGroups[std::size_t(g)]);
        connect(cbGroups[std::size_t(g)], &QCheckBox::toggled, this, [this] { UpdateStart(); });
    }
    layout->addWidget(groupsBox);

    cbCountIn = new QCheckBox(QStringLiteral("Count in one bar (four steps)"), this);
    cbCountIn->setObjectName(QStringLiteral("cbCountIn"));
    cbClick = new QCheckBox(QStringLiteral("Soft click in the count-in"), this);
    cbClick->setObjectName(QStringLiteral("cbClick"));
    connect(cbCountIn, &QCheckBox::toggled, cbClick, &QCheckBox::setEnabled);
    layout->addWidget(cbCountIn);
    layout->addWidget(cbClick);

    auto* buttons = new QHBoxLayout;
    btnStart = new QPushButton(QStringLiteral("Start"), this);
    btnStart->setObjectName(QStringLiteral("btnPracticeStart"));
    btnStart->setToolTip(QStringLiteral("Plays the chime from the start with your groups silent"));
    btnStop = new QPushButton(QStringLiteral("Stop"), this);
    btnStop->setObjectName(QStringLiteral("btnPracticeStop"));
    btnStop->setToolTip(QStringLiteral("Ends the pass and shows the result"));
    for (QPushButton* b : {btnStart, btnStop}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    auto* live = new QGroupBox(QStringLiteral("This pass"), this);
    auto* form = new QFormLayout(live);
    lblStatus = Figure(live, "lblPracticeStatus");
    lblStatus->setText(QStringLiteral("Ready"));
    lblStrokes = Figure(live, "lblPracticeStrokes");
    lblHits = Figure(live, "lblPracticeHits");
    lblMean = Figure(live, "lblPracticeMean");
    lblSpread = Figure(live, "lblPracticeSpread");
    lblWithin = Figure(live, "lblPracticeWithin");
    form->addRow(QStringLiteral("Status:"), lblStatus);
    form->addRow(QStringLiteral("Strokes:"), lblStrokes);
    form->addRow(QStringLiteral("Hits:"), lblHits);
    form->addRow(QStringLiteral("Mean error:"), lblMean);
    form->addRow(QStringLiteral("Steadiness (s.d.):"), lblSpread);
    form->addRow(QStringLiteral("Within 20 ms:"), lblWithin);
    layout->addWidget(live);

    auto* legendBox = new QGroupBox(QStringLiteral("Marks on the score"), this);
    auto* legendLayout = new QVBoxLayout(legendBox);
    legendLayout->addWidget(new Legend(legendBox));
    layout->addWidget(legendBox);
    // The panel never takes the keyboard focus from the main window's bell keys by itself.
    for (QCheckBox* box : {cbGroups[0], cbGroups[1], cbGroups[2], cbCountIn, cbClick}) {
        box->setFocusPolicy(Qt::NoFocus);
    }
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    SetRunning(false);
}

std::array<bool, 3> TfrmPractice::Groups() const {
    return {cbGroups[0]->isChecked(), cbGroups[1]->isChecked(), cbGroups[2]->isChecked()};
}

void TfrmPractice::SetGroups(const std::array<bool, 3>& groups) {
    for (int g = 0; g < 3; ++g) {
        cbGroups[std::size_t(g)]->setChecked(groups[std::size_t(g)]);
    }
}

void TfrmPractice::ShowFigures(const StrokeSummary& s) {
    lblStrokes->setText(QString::number(s.strokes));
    lblHits->setText(QStringLiteral("%1 of %2").arg(s.hits).arg(s.notes));
    lblMean->setText(s.hits > 0 ? PracticeReport::ErrorWords(s.meanError) : QStringLiteral("-"));
    lblSpread->setText(s.hits > 1 ? QStringLiteral("%1 ms").arg(s.spread, 0, 'f', 1) : QStringLiteral("-"));
    lblWithin->setText(s.hits > 0 ? QStringLiteral("%1 %").arg(std::lround(s.withinOnTime * 100)) : QStringLiteral("-"));
}

void TfrmPractice::SetRunning(bool running) {
    running_ = running;
    for (QCheckBox* box : {cbGroups[0], cbGroups[1], cbGroups[2], cbCountIn}) {
        box->setEnabled(!running);
    }
    cbClick->setEnabled(!running && cbCountIn->isChecked());
    btnStop->setEnabled(running);
    UpdateStart();
}

void TfrmPractice::UpdateStart() {
    const auto g = Groups();
    btnStart->setEnabled(!running_ && (g[0] || g[1] || g[2]));
}

void TfrmPractice::closeEvent(QCloseEvent* event) {
    emit Closed();
    QDialog::closeEvent(event);
}

void TfrmPractice::keyPressEvent(QKeyEvent* event) {
    // Escape closes as in any dialog; other keys are the bell keys, which the application-wide
    // hook has already seen, and must not press a button here.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    event->ignore();
}

}  // namespace orvane
