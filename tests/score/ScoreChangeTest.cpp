#include "score/core/ScoreChange.h"
#include "score/core/ScoreLayout.h"
#include "score/core/ScorePainter.h"
#include "score/ScoreTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvane;

namespace {

// Random steps of one group: mostly single notes and rests, some chords and other marks.
QStringList RandomSteps(std::mt19937& random, QChar letter, int count) {
    QStringList steps;
    for (int i = 0; i < count; ++i) {
        QString line;
        const int marks = int(random() % 7) < 3 ? 0 : 1 + int(random() % 3);
        for (int m = 0; m < marks; ++m) {
            if (!line.isEmpty()) {
                line += u',';
            }
            line += random() % 9 == 0 ? QStringLiteral("#") : QString(letter) + QString::number(1 + random() % 4);
        }
        steps.append(line);
    }
    return steps;
}

}  // namespace

TEST(ScoreChange, DrawingOnlyTheChangedAreaGivesTheWholePicture) {
    std::mt19937 random(2024);
    const QChar letters[] = {u's', u'm', u'b'};
    for (int round = 0; round < 150; ++round) {
        const int group = int(random() % 3);
        const ScoreStaff staff{group, 1 + int(random() % 7), 300 + int(random() % 700),
                               60 + int(random() % 200), random() % 4 == 0, test::kBackground};
        // Repeating material, as chimes are, so that pages share many primitives.
        QStringList steps = RandomSteps(random, letters[group], 64);
        steps += steps;
        steps += RandomSteps(random, letters[group], 40 + int(random() % 90));
        ScoreLayout layout(staff);
        const int pageBefore = int(random() % 4);
        const int pageAfter = int(random() % 4);
        const ScorePrimitives before = random() % 5 == 0 ? layout.Grid() : layout.Draw(steps, pageBefore);
        const ScorePrimitives after = layout.Draw(steps, pageAfter);

        QImage picture = ScorePainter::Render(staff.width, staff.height, before);
        const QRegion area = ScoreChange::Area(before, after, picture.size());
        ScorePainter::Paint(picture, after, area);
        ASSERT_EQ(picture, ScorePainter::Render(staff.width, staff.height, after))
            << "round " << round << " pages " << pageBefore << " to " << pageAfter;
    }
}

TEST(ScoreChange, AreaOfEqualPagesIsEmptyAndOfANewBackgroundWhole) {
    const ScoreStaff staff{1, 5, 640, 120, false, test::kBackground};
    ScoreLayout layout(staff);
    QStringList steps;
    for (int i = 0; i < 64; ++i) {
        steps.append(i % 3 == 0 ? QStringLiteral("m1,m3") : QString());
    }
    const ScorePrimitives page = layout.Draw(steps, 0);
    EXPECT_TRUE(ScoreChange::Area(page, page, {640, 120}).isEmpty());

    ScoreStaff other = staff;
    other.background = Qt::white;
    const ScorePrimitives repainted = ScoreLayout(other).Draw(steps, 0);
    EXPECT_EQ(ScoreChange::Area(page, repainted, {640, 120}), QRegion(0, 0, 640, 120));

    // One note more: the area stays within the beat column of that note.
    QStringList more = steps;
    more[17] = QStringLiteral("m2");
    const QRegion area = ScoreChange::Area(page, ScoreLayout(staff).Draw(more, 0), {640, 120});
    ASSERT_FALSE(area.isEmpty());
    EXPECT_LE(area.boundingRect().width(), 2 * 640 / ScoreChange::kBands);
}

TEST(ScoreChange, NeighbouringChangedColumnsAreOneRectangleAndSeparateOnesStaySeparate) {
    const QSize size(640, 120);
    const int column = size.width() / ScoreChange::kBands;
    const auto fill = [](int left, int top, int right, int bottom) {
        return ScorePrimitive::MakeFill(QPoint(left, top), QPoint(right, bottom), Qt::black);
    };
    // Changes of different heights in columns 2, 3 and 4, and one in column 9.
    const ScorePrimitives after{fill(2 * column + 5, 10, 2 * column + 15, 20),
                                fill(3 * column + 5, 40, 3 * column + 15, 90),
                                fill(4 * column + 5, 30, 4 * column + 15, 35),
                                fill(9 * column + 5, 60, 9 * column + 15, 70)};
    const QRegion run(QRect(QPoint(2 * column + 5, 10), QPoint(4 * column + 14, 89)));
    const QRegion alone(QRect(QPoint(9 * column + 5, 60), QPoint(9 * column + 14, 69)));
    EXPECT_EQ(ScoreChange::Area({}, after, size), run + alone);
}
