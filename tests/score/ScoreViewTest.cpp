#include "app/ui/TImage.h"
#include "score/ui/ScoreController.h"
#include "score/core/ScoreLayout.h"
#include "score/core/ScorePainter.h"
#include "score/ScoreRig.h"
#include "score/ScoreWindowUtil.h"
#include "support/ChimeRig.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

using namespace orvane;

namespace {

template <class Base>
class ScoreHelpers : public Base {
protected:
    // A started window or rig with bells 0 (great), 1-4 (medium-size), 12-14 (small) and a
    // chime of `steps` steps loaded; the page selector is set up as the chime library does.
    auto StartWithChime(int steps) {
        auto w = this->Start();
        SetBells(*w, {0}, {1, 2, 3, 4}, {12, 13, 14});
        LoadWholeChime(*w, WriteChime(this->folder.Path("test.kol"), "200", SteadySteps(steps)));
        const int pages = ScoreLayout::PageCount(steps);
        w->form.udPage->setMaximum(pages);
        w->form.udPage->setEnabled(pages > 1);
        w->form.tbProgress->SetMax(steps - 1);
        w->CurrentPage = 0;
        return w;
    }

    // What the score image of group g must show for page `page`.
    template <class W>
    static QImage Expected(W& w, int g, int page) {
        const TImage* image = w.score->ScoreImage(g);
        ScoreLayout layout({g, w.Bells.GroupCount(g + 1), image->width(), image->height(),
                            w.form.cbGrid->isChecked(), w.score->Background()});
        return ScorePainter::Render(image->width(), image->height(),
                                    layout.Draw(w.Channels->GroupSteps(g), page));
    }

    template <class W>
    static void ExpectPage(W& w, int page) {
        for (int g = 0; g < 3; ++g) {
            EXPECT_EQ(w.score->ScorePicture(g).convertToFormat(QImage::Format_RGB32),
                      Expected(w, g, page))
                << "group " << g << " page " << page;
        }
    }
};

// Markers, resizing and the interplay with the layout: the score view with the layout that
// creates and places the markers, on the chime rig.
using ScoreView = ScoreHelpers<ChimeRigFixture>;
using ScoreViewAlone = ScoreHelpers<RigFixture<ScoreRig>>;

TEST_F(ScoreView, ImagesFollowTheirPanelsAndStayUnderCoversAndMarkers) {
    auto w = Start();
    w->resize(1100, 760);
    QApplication::processEvents();
    for (int g = 0; g < 3; ++g) {
        TImage* image = w->score->ScoreImage(g);
        ASSERT_NE(image, nullptr);
        TPanel* panel = w->form.ScorePanel(g);
        EXPECT_EQ(image->size(), panel->size()) << g;
        EXPECT_EQ(image->pos(), QPoint(0, 0));
        const QObjectList& stack = panel->children();
        EXPECT_GT(stack.indexOf(w->form.ScoreCover(g)), stack.indexOf(image)) << g;
        EXPECT_GT(stack.indexOf(w->Markers[g].data()), stack.indexOf(image)) << g;
    }
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(ScoreView, HidingShowsTheCoversAndHidesTheMarkersShowingRedraws) {
    auto w = StartWithChime(100);
    w->score->RedrawScore();
    ExpectPage(*w, 0);

    QTest::mouseClick(w->form.cbShowNotes, Qt::LeftButton);
    ASSERT_FALSE(w->form.cbShowNotes->isChecked());
    for (int g = 0; g < 3; ++g) {
        EXPECT_TRUE(w->form.ScoreCover(g)->isVisible()) << g;
        EXPECT_FALSE(w->Markers[g]->isVisible()) << g;
        const QObjectList& stack = w->form.ScorePanel(g)->children();
        EXPECT_GT(stack.indexOf(w->form.ScoreCover(g)), stack.indexOf(w->Markers[g].data()));
        const QImage picture = w->score->ScorePicture(g);
        EXPECT_EQ(picture.pixelColor(0, 0), w->score->Background()) << "image cleared";
    }

    const int before = w->score->RedrawCount();
    QTest::mouseClick(w->form.cbShowNotes, Qt::LeftButton);
    EXPECT_EQ(w->score->RedrawCount(), before + 1);
    for (int g = 0; g < 3; ++g) {
        EXPECT_FALSE(w->form.ScoreCover(g)->isVisible()) << g;
        EXPECT_TRUE(w->Markers[g]->isVisible()) << g;
    }
    ExpectPage(*w, 0);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(ScoreViewAlone, GridOptionRedrawsOnlyWhileTheScoreIsShown) {
    auto w = StartWithChime(100);
    w->score->RedrawScore();
    const QImage full = w->score->ScorePicture(0);

    int before = w->score->RedrawCount();
    QTest::mouseClick(w->form.cbGrid, Qt::LeftButton);
    ASSERT_TRUE(w->form.cbGrid->isChecked());
    EXPECT_EQ(w->score->RedrawCount(), before + 1);
    EXPECT_NE(w->score->ScorePicture(0), full) << "three small bells leave two lines out";
    ExpectPage(*w, 0);

    QTest::mouseClick(w->form.cbShowNotes, Qt::LeftButton);
    before = w->score->RedrawCount();
    QTest::mouseClick(w->form.cbGrid, Qt::LeftButton);
    EXPECT_EQ(w->score->RedrawCount(), before);
}

TEST_F(ScoreViewAlone, PageSelectorTurnsThePageSetsTheStepBeforeItAndTheTrackBar) {
    auto w = StartWithChime(150);
    w->score->RedrawScore();
    QSpinBox* ud = w->form.udPage;

    // The track bar's own handler (the player's) takes its new position as the step position;
    // with the bar already there, the step position set by the page selector stays.
    const auto barAt = [&](int position) {
        const QSignalBlocker quiet(w->form.tbProgress);
        w->form.tbProgress->SetPosition(position);
    };
    ud->setFocus();
    barAt(64);
    QTest::keyClick(ud, Qt::Key_Up);
    EXPECT_EQ(ud->value(), 2);
    EXPECT_EQ(w->form.edPage->text(), "2");
    EXPECT_EQ(w->CurrentPage, 1);
    EXPECT_EQ(w->StepPosition, 63);
    EXPECT_EQ(w->form.tbProgress->Position(), 64);
    ExpectPage(*w, 1);

    barAt(128);
    QTest::keyClick(ud, Qt::Key_Up);
    EXPECT_EQ(w->CurrentPage, 2);
    EXPECT_EQ(w->StepPosition, 127);
    EXPECT_EQ(w->form.tbProgress->Position(), 128);
    ExpectPage(*w, 2);

    // The player shows the page it plays: the selector follows without turning anything.
    ud->setValue(1);
    EXPECT_EQ(w->form.edPage->text(), "1");
    EXPECT_EQ(w->form.tbProgress->Position(), 128);
    EXPECT_EQ(w->CurrentPage, 2);
    EXPECT_EQ(w->StepPosition, 127);

    barAt(0);
    w->score->udPageClick();
    EXPECT_EQ(w->CurrentPage, 0);
    EXPECT_EQ(w->StepPosition, -1);
    EXPECT_EQ(w->form.tbProgress->Position(), 0);
    ExpectPage(*w, 0);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(ScoreView, ResizingTheWindowRedrawsAtTheNewSize) {
    auto w = StartWithChime(100);
    w->resize(900, 650);
    QApplication::processEvents();
    w->resize(1200, 780);
    QApplication::processEvents();
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(w->score->ScorePicture(g).size(), w->form.ScorePanel(g)->size()) << g;
    }
    ExpectPage(*w, 0);
}

TEST_F(ScoreViewAlone, GridAloneAndReleasedImages) {
    auto w = StartWithChime(100);
    w->score->DrawScoreGrid();
    for (int g = 0; g < 3; ++g) {
        const TImage* image = w->score->ScoreImage(g);
        ScoreLayout layout({g, w->Bells.GroupCount(g + 1), image->width(), image->height(), false,
                            w->score->Background()});
        EXPECT_EQ(w->score->ScorePicture(g).convertToFormat(QImage::Format_RGB32),
                  ScorePainter::Render(image->width(), image->height(), layout.Grid()));
    }
    w->score->DrawScorePage();
    ExpectPage(*w, 0);

    w->score->Release();
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(w->score->ScoreImage(g), nullptr);
    }
    w->score->RedrawScore();  // nothing to draw on, nothing fails
    w->resize(1000, 700);
    QApplication::processEvents();
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

}  // namespace

TEST_F(ScoreView, PicturesRedrawnInPlaceMatchWholeDrawings) {
    // Turning pages, resizing, the grid option, hiding and showing, a new chime and a picture
    // taken by someone else: after each, every staff shows exactly its whole drawing.
    auto w = StartWithChime(300);
    QStringList steps;
    for (int i = 0; i < 300; ++i) {
        QStringList marks;
        if ((i * 7) % 13 < 4) {
            marks << QStringLiteral("s%1").arg(1 + i % 3);
        }
        if ((i * 5) % 11 < 3) {
            marks << QStringLiteral("m%1").arg(1 + i % 4) << QStringLiteral("m%1").arg(1 + (i / 3) % 4);
        }
        if ((i * 3) % 17 < 2) {
            marks << QStringLiteral("b1");
        }
        steps << marks.join(u',');
    }
    LoadWholeChime(*w, WriteChime(folder.Path("varied.kol"), "200", steps));
    w->CurrentPage = 0;
    w->score->RedrawScore();
    const QImage taken = w->score->ScorePicture(1);
    const QImage takenExpected = Expected(*w, 1, 0);
    const int pages[] = {2, 4, 1, 5, 3, 3, 1};
    for (int page : pages) {
        w->form.udPage->setValue(page);
        w->score->udPageClick();
        ExpectPage(*w, page - 1);
    }
    EXPECT_EQ(taken.convertToFormat(QImage::Format_RGB32), takenExpected)
        << "a picture taken earlier keeps its pixels";
    // What the controls paint is their pictures.
    for (int g = 0; g < 3; ++g) {
        TImage* image = w->score->ScoreImage(g);
        const QImage painted = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(painted, w->score->ScorePicture(g).convertToFormat(QImage::Format_RGB32)) << g;
    }

    w->resize(1000, 640);
    QApplication::processEvents();
    w->score->RedrawScore();
    ExpectPage(*w, w->CurrentPage);
    QTest::mouseClick(w->form.cbGrid, Qt::LeftButton);
    ExpectPage(*w, w->CurrentPage);
    QTest::mouseClick(w->form.cbShowNotes, Qt::LeftButton);
    QTest::mouseClick(w->form.cbShowNotes, Qt::LeftButton);
    ExpectPage(*w, w->CurrentPage);

    LoadWholeChime(*w, WriteChime(folder.Path("other.kol"), "200", SteadySteps(90)));
    w->CurrentPage = 0;
    w->score->RedrawScore();
    ExpectPage(*w, 0);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}
