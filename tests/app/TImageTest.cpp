#include "app/ui/TImage.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace orvane;

namespace {

class TImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        picture_ = QImage(12, 8, QImage::Format_RGB32);
        picture_.fill(qRgb(10, 200, 30));
        picture_.setPixel(3, 2, qRgb(250, 0, 0));
        path_ = dir_.filePath(QStringLiteral("picture.bmp"));
        ASSERT_TRUE(picture_.save(path_, "BMP"));
    }

    QImage picture_;
    QString path_;
    QTemporaryDir dir_;
};

TEST_F(TImageTest, APictureFileIsReadWhenTheControlIsFirstShown) {
    QWidget parent;
    parent.resize(100, 100);
    TImage image(QStringLiteral("img"), &parent);
    image.resize(12, 8);
    image.SetPictureFile(path_);
    EXPECT_TRUE(image.PicturePending());
    EXPECT_TRUE(image.pixmap().isNull());
    // The file is read when shown, not before: a change made meanwhile is what shows.
    QImage changed = picture_;
    changed.setPixel(0, 0, qRgb(1, 2, 3));
    ASSERT_TRUE(changed.save(path_, "BMP"));
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    EXPECT_FALSE(image.PicturePending());
    EXPECT_EQ(image.Picture(), changed);
    EXPECT_EQ(image.pixmap().toImage().convertToFormat(QImage::Format_RGB32), changed);
}

TEST_F(TImageTest, AHiddenControlReadsItsPictureWhenAskedForIt) {
    QWidget parent;
    TImage image(QStringLiteral("img"), &parent);
    image.hide();
    image.SetPictureFile(path_);
    EXPECT_TRUE(image.HasPicture());
    EXPECT_EQ(image.Picture(), picture_);
    // Shown later, it shows what was read.
    parent.show();
    image.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    EXPECT_EQ(image.pixmap().toImage().convertToFormat(QImage::Format_RGB32), picture_);

    // A missing file: no picture, and nothing left to read.
    TImage missing(QStringLiteral("missing"), &parent);
    missing.SetPictureFile(dir_.filePath(QStringLiteral("none.bmp")));
    missing.show();
    EXPECT_FALSE(missing.PicturePending());
    EXPECT_FALSE(missing.HasPicture());
}

TEST_F(TImageTest, ALaterPictureReplacesOneNotReadYet) {
    TImage image(QStringLiteral("img"), nullptr);
    int loads = 0;
    image.SetPictureLoader([&loads] {
        ++loads;
        return QImage(4, 4, QImage::Format_RGB32);
    });
    QImage other(5, 5, QImage::Format_RGB32);
    other.fill(Qt::blue);
    image.SetPicture(other);
    EXPECT_FALSE(image.PicturePending());
    EXPECT_EQ(image.Picture(), other);
    image.show();
    EXPECT_EQ(loads, 0);
    // A loader runs once however often the picture is asked for.
    image.SetPictureLoader([&loads] {
        ++loads;
        return QImage(4, 4, QImage::Format_RGB32);
    });
    EXPECT_EQ(loads, 1);  // shown: read at once
    EXPECT_EQ(image.Picture().size(), QSize(4, 4));
    image.hide();
    image.show();
    EXPECT_EQ(loads, 1);
}

}  // namespace
