#include "animation/ui/FacesController.h"
#include "app/ui/TImage.h"
#include "score/ScoreWindowUtil.h"
#include "support/ChimeRig.h"
#include "support/ControllerRig.h"
#include "support/ModelView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTimer>

using namespace orvane;

namespace {

// The bell faces built from their collaborators alone, set up as at start-up: pictures
// created, the selected view applied, the view and animation boxes read, the window shown.
struct FacesRig : ControllerRig {
    explicit FacesRig(const ProgramFolder& folder)
        : ControllerRig(folder), controller(FacesWidgetsOf(form), data, bellModel, viewModel, viewOwner) {
        controller.CreateFaces();
        controller.ApplyViewAtStart();
        controller.cbViewChange();
        controller.cbShowMovieClick();
        controller.Connect();
    }

    ModelView viewOwner{viewModel};
    FacesController controller;
    FacesController* const faces = &controller;
    BellSet& Bells = bellModel.Bells;
    std::unique_ptr<TChannels>& Channels = data.Channels;
    ModelValue<bool>& SchematicView = viewModel.SchematicView;
};

// Helpers shared by the tests on the rig and on the whole window.
template <class Base>
class FacesHelpers : public Base {
protected:
    // Visible face pictures as (set, row, frame).
    template <class W>
    static QList<std::tuple<int, int, int>> Visible(W& w) {
        QList<std::tuple<int, int, int>> shown;
        for (int set = 0; set < FacesController::kSets; ++set) {
            for (int row = 0; row < FacesController::kRows; ++row) {
                for (int frame = 0; frame < FacesController::kFrames; ++frame) {
                    if (w.faces->Face(set, row, frame)->isVisible()) {
                        shown.append({set, row, frame});
                    }
                }
            }
        }
        return shown;
    }

    QImage Bitmap(const QString& name) { return QImage(this->folder.Path("Animate/" + name)); }

    // Strikes a bell as the voice player does: animate, then (re)start the reset timer.
    template <class W>
    static void Strike(W& w, int bell) {
        w.faces->AnimateBell(bell);
        w.form.mmResetTimer->start();
    }
};

// The faces without a main window.
class FacesAloneBase : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        GuardLog::Reset();
    }

    std::unique_ptr<FacesRig> Start() {
        auto w = std::make_unique<FacesRig>(folder);
        w->window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w->window));
        return w;
    }

    ProgramFolder folder;
};

using Faces = FacesHelpers<FacesAloneBase>;
// Placement under the chime boxes depends on the layout and the boxes of the bell set: on the
// chime rig.
using FacesInWindow = FacesHelpers<ChimeRigFixture>;

using Frames = QList<std::tuple<int, int, int>>;

TEST_F(FacesInWindow, PicturesArePlacedUnderTheChimeBoxesFromTheAnimateFolder) {
    auto w = Start();
    const int top0 = w->form.pnlSmall->y() + w->GroupChimeBoxes[0]->height() + 8;
    const int top2 = w->form.pnlBig->y() + w->GroupChimeBoxes[0]->height() + 8;
    TImage* face = w->faces->Face(1, 3, 5);
    EXPECT_EQ(face->geometry(), QRect(15, top0, 129, 60));
    EXPECT_EQ(face->property("tag").toInt(), 3);
    EXPECT_EQ(face->parentWidget(), w->form.pnlCustomSelections);
    EXPECT_EQ(face->Picture(), Bitmap("l3s_5.bmp"));
    EXPECT_EQ(w->faces->Face(0, 2, 7)->Picture(), Bitmap("b_7.bmp"));
    EXPECT_EQ(w->faces->ChordPicture(2)->geometry(), QRect(15, top2, 129, 60));
    EXPECT_EQ(w->faces->DisabledPicture(0)->geometry().top(), top0);

    // The chord picture carries its text and shows white as transparent.
    const QImage chord = w->faces->ChordPicture(0)->Picture();
    const QImage plain = Bitmap("accord.bmp").convertToFormat(QImage::Format_ARGB32);
    int written = 0;
    int transparent = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 129; ++x) {
            const QRgb a = chord.pixel(x, y);
            const QRgb b = plain.pixel(x, y);
            transparent += qAlpha(a) == 0 && (b & 0xFFFFFF) == 0xFFFFFF;
            written += (y >= 26 && x >= 20 && a != b && qAlpha(a) != 0);
        }
    }
    EXPECT_GT(written, 20);
    EXPECT_GT(transparent, 100);
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Faces, MissingDisabledBitmapGivesTheTextAlone) {
    QFile::remove(folder.Path("Animate/disable.bmp"));
    QFile::remove(folder.Path("Animate/m_3.bmp"));
    auto w = Start();
    const QImage picture = w->faces->DisabledPicture(1)->Picture();
    ASSERT_EQ(picture.size(), QSize(129, 60));
    int dark = 0;
    for (int y = 26; y < 60; ++y) {
        for (int x = 10; x < 129; ++x) {
            dark += qAlpha(picture.pixel(x, y)) != 0 && qGray(picture.pixel(x, y)) < 128;
        }
    }
    EXPECT_GT(dark, 20);
    EXPECT_FALSE(w->faces->Face(0, 1, 3)->HasPicture());
}

TEST_F(Faces, EachFrameIsReadWhenFirstShownAndShowsItsBitmap) {
    auto w = Start();
    // At start only the frames on screen have been read; the others wait for their strike.
    const auto shown = Visible(*w);
    ASSERT_FALSE(shown.isEmpty());
    int pending = 0;
    for (int set = 0; set < FacesController::kSets; ++set) {
        for (int row = 0; row < FacesController::kRows; ++row) {
            for (int frame = 0; frame < FacesController::kFrames; ++frame) {
                const bool visible = shown.contains(std::tuple<int, int, int>{set, row, frame});
                const bool waiting = w->faces->Face(set, row, frame)->PicturePending();
                EXPECT_FALSE(visible && waiting) << set << row << frame;
                pending += waiting;
            }
        }
    }
    EXPECT_GT(pending, 50);
    SetBells(*w, {0, 1}, {2, 3}, {12, 13, 14});
    w->faces->ShowRestFrames();
    TImage* struck = w->faces->Face(0, 3, 2);
    ASSERT_TRUE(struck->PicturePending());
    w->faces->AnimateBell(13);
    ASSERT_TRUE(struck->isVisible());
    EXPECT_FALSE(struck->PicturePending());
    // What the control shows is the bitmap itself.
    EXPECT_EQ(struck->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              Bitmap("3s_2.bmp").convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Faces, StrikingShowsTheBellsFrameInItsRow) {
    auto w = Start();
    // Three small bells (12, 13, 14): the small group uses row 3.
    SetBells(*w, {0, 1}, {2, 3}, {12, 13, 14});
    w->faces->ShowRestFrames();
    EXPECT_EQ(Visible(*w), (Frames{{0, 1, 0}, {0, 2, 0}, {0, 3, 0}}));
    EXPECT_EQ(w->faces->AnimationToken(13), "s2");
    w->faces->AnimateBell(13);
    EXPECT_EQ(Visible(*w), (Frames{{0, 1, 0}, {0, 2, 0}, {0, 3, 2}}));
    EXPECT_EQ(w->faces->Face(0, 3, 2)->Picture(), Bitmap("3s_2.bmp"));
    // A great bell: fewer than four small bells, so row 2 loses its rest picture.
    w->faces->AnimateBell(1);
    EXPECT_EQ(Visible(*w), (Frames{{0, 1, 0}, {0, 2, 2}, {0, 3, 2}}));
    // Out of the set: no token, nothing changes.
    EXPECT_EQ(w->faces->AnimationToken(7), "");
    w->faces->AnimateBell(7);
    EXPECT_EQ(Visible(*w), (Frames{{0, 1, 0}, {0, 2, 2}, {0, 3, 2}}));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Faces, FourSmallBellsUseRowZeroAndKeepItsRestPicture) {
    auto w = Start();
    SetBells(*w, {0}, {1, 2}, {11, 12, 13, 14});
    w->faces->ShowRestFrames();
    EXPECT_EQ(Visible(*w), (Frames{{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}));
    w->faces->AnimateBell(14);
    EXPECT_EQ(Visible(*w), (Frames{{0, 0, 0}, {0, 0, 4}, {0, 1, 0}, {0, 2, 0}}));
    const QObjectList& stack = w->form.pnlCustomSelections->children();
    EXPECT_GT(stack.indexOf(w->faces->Face(0, 0, 4)), stack.indexOf(w->faces->Face(0, 0, 0)));
}

TEST_F(Faces, FourBellsOrFewerAreNotAnimated) {
    auto w = Start();
    SetBells(*w, {0}, {1}, {13, 14});
    w->faces->ShowRestFrames();
    const Frames before = Visible(*w);
    w->faces->AnimateBell(14);
    w->faces->AnimateBell(0);
    EXPECT_EQ(Visible(*w), before);
}

TEST_F(Faces, ChordGroupShowsCordsPlayingInItsPlace) {
    auto w = Start();
    SetBells(*w, {0, 1}, {2, 3, 4, 5, 6, 7}, {12, 13, 14});
    LoadWholeChime(*w, folder.Path("Chime/common/trezvon_cathedral.kol"));
    ASSERT_FALSE(w->Channels->GroupAnimation[2]);
    w->faces->ShowRestFrames();
    EXPECT_TRUE(w->faces->ChordPicture(2)->isVisible());
    EXPECT_FALSE(w->faces->ChordPicture(0)->isVisible());
    EXPECT_EQ(Visible(*w), (Frames{{0, 1, 0}, {0, 3, 0}}));
    Strike(*w, 0);
    Strike(*w, 5);
    EXPECT_TRUE(w->faces->ChordPicture(2)->isVisible());
    EXPECT_EQ(Visible(*w), (Frames{{0, 1, 4}, {0, 3, 0}}));
    w->faces->mmResetTimerTimer();
    EXPECT_TRUE(w->faces->ChordPicture(2)->isVisible());
    EXPECT_FALSE(w->form.mmResetTimer->isActive());
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

// With four or more small bells the rest frame of a chord group stays, and the chord picture
// is drawn over it, transparently.
TEST_F(Faces, ChordPictureIsDrawnOverTheRestFrame) {
    auto w = Start();
    SetBells(*w, {0, 1}, {2, 3, 4, 5, 6}, {11, 12, 13, 14});
    w->faces->ShowRestFrames();
    ASSERT_TRUE(w->faces->Face(0, 2, 0)->isVisible());
    LoadWholeChime(*w, folder.Path("Chime/common/trezvon_cathedral.kol"));
    ASSERT_FALSE(w->Channels->GroupAnimation[2]);
    w->faces->ShowRestFrames();
    TImage* chord = w->faces->ChordPicture(2);
    TImage* rest = w->faces->Face(0, 2, 0);
    EXPECT_TRUE(chord->isVisible());
    EXPECT_TRUE(rest->isVisible());
    EXPECT_TRUE(chord->geometry().intersects(rest->geometry()));
    const QObjectList siblings = chord->parentWidget()->children();
    EXPECT_GT(siblings.indexOf(chord), siblings.indexOf(rest));  // stacked above the rest frame
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Faces, StruckPictureStaysUntil150MsAfterTheLastStrike) {
    auto w = Start();
    SetBells(*w, {0}, {1, 2}, {12, 13, 14});
    w->faces->ShowRestFrames();
    Strike(*w, 12);
    QTest::qWait(100);
    Strike(*w, 13);
    QElapsedTimer sinceSecond;
    sinceSecond.start();
    QTest::qWait(100);  // 200 ms after the first strike
    EXPECT_TRUE(w->faces->Face(0, 3, 2)->isVisible());
    EXPECT_TRUE(w->form.mmResetTimer->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->faces->Face(0, 3, 0)->isVisible(); }, 2000));
    EXPECT_GE(sinceSecond.elapsed(), 140);  // coarse timers may fire up to 5 % early
    EXPECT_FALSE(w->faces->Face(0, 3, 2)->isVisible());
    EXPECT_FALSE(w->form.mmResetTimer->isActive());
}

TEST_F(Faces, AnimationOffShowsDisabledPicturesAndLocksTheView) {
    auto w = Start();
    SetBells(*w, {0}, {1, 2}, {11, 12, 13, 14});
    w->faces->ShowRestFrames();
    Strike(*w, 12);
    QTest::mouseClick(w->form.cbShowMovie, Qt::LeftButton);
    ASSERT_FALSE(w->form.cbShowMovie->isChecked());
    EXPECT_EQ(Visible(*w), Frames{});
    EXPECT_FALSE(w->form.mmResetTimer->isActive());
    for (int g = 0; g < 3; ++g) {
        EXPECT_TRUE(w->faces->DisabledPicture(g)->isVisible()) << g;
        EXPECT_FALSE(w->faces->ChordPicture(g)->isVisible()) << g;
    }
    EXPECT_FALSE(w->form.cbView->isEnabled());

    QTest::mouseClick(w->form.cbShowMovie, Qt::LeftButton);
    for (int g = 0; g < 3; ++g) {
        EXPECT_FALSE(w->faces->DisabledPicture(g)->isVisible()) << g;
    }
    EXPECT_EQ(Visible(*w), (Frames{{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}));
    EXPECT_TRUE(w->form.cbView->isEnabled());
}

TEST_F(Faces, SchematicViewSwapsTheSets) {
    auto w = Start();
    SetBells(*w, {0}, {1, 2}, {12, 13, 14});
    w->form.cbView->setCurrentIndex(1);
    EXPECT_TRUE(w->SchematicView);
    EXPECT_EQ(Visible(*w), (Frames{{1, 1, 0}, {1, 2, 0}, {1, 3, 0}}));
    w->faces->AnimateBell(2);
    EXPECT_EQ(Visible(*w), (Frames{{1, 1, 2}, {1, 2, 0}, {1, 3, 0}}));
    w->form.cbView->setCurrentIndex(0);
    EXPECT_EQ(Visible(*w), (Frames{{0, 1, 0}, {0, 2, 0}, {0, 3, 0}}));
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

TEST_F(Faces, ReleaseFreesEveryPicture) {
    auto w = Start();
    const int before = w->form.pnlCustomSelections->findChildren<TImage*>().size();
    w->faces->Release();
    EXPECT_EQ(w->faces->Face(0, 0, 0), nullptr);
    EXPECT_EQ(w->faces->ChordPicture(0), nullptr);
    EXPECT_EQ(w->form.pnlCustomSelections->findChildren<TImage*>().size(), before - 70);
    w->faces->ShowRestFrames();
    w->faces->AnimateBell(3);
    w->faces->LayoutFaces();
    EXPECT_EQ(GuardLog::Swallowed(), 0);
}

}  // namespace
