// A shown window's back buffer readied before its first picture: that picture then writes it
// without a page fault per page.

#include "app/ui/BackBufferReserve.h"
#include "support/ThreadFaults.h"
#include "support/ProgramFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

using namespace orvane;

namespace {

// A window that fills itself, as the main window's panels do.
class FilledWindow : public QWidget {
  public:
    FilledWindow() { resize(1280, 800); }
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::darkCyan);
        ++paints;
    }
};

// The page faults this thread takes from now until the window's first picture is drawn.
long FaultsUntilFirstPicture(FilledWindow& window) {
    const long before = ThreadFaults();
    QElapsedTimer timer;
    timer.start();
    while (window.paints == 0 && timer.elapsed() < 5000) {
        QCoreApplication::processEvents();
    }
    EXPECT_GT(window.paints, 0);
    return ThreadFaults() - before;
}

}  // namespace

TEST(BackBufferReserve, TheFirstPictureOfAShownWindowFindsItsBufferFaultedIn) {
    TestApp();
    FilledWindow plain;
    plain.show();
    const long withoutReserve = FaultsUntilFirstPicture(plain);

    FilledWindow window;
    window.show();
    BackBufferReserve reserve(window);
    reserve.Wait();
    if (reserve.Bytes() == 0) {
        GTEST_SKIP() << "this platform or kernel leaves the back buffer to the first picture";
    }
    EXPECT_GE(reserve.Bytes(), std::size_t(1280) * 800 * 4);
    const long withReserve = FaultsUntilFirstPicture(window);

    // 4 MB: about a thousand pages, each a fault when written first by the picture itself.
    EXPECT_GT(withoutReserve, 500) << "the comparison needs a buffer that the first picture faults in";
    EXPECT_LT(withReserve, withoutReserve / 4);
}

TEST(BackBufferReserve, AWindowNotShownIsLeftAlone) {
    TestApp();
    FilledWindow window;
    BackBufferReserve reserve(window);
    EXPECT_EQ(reserve.Bytes(), 0u);
    EXPECT_FALSE(window.isVisible());
}
