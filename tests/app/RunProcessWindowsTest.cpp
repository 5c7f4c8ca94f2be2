#include "app/core/LibraryInstaller.h"
#include "support/ProgramFolder.h"

#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace orvane;

namespace {

// Records the showing and hiding of its window, which Qt reports synchronously.
class WatchedWidget : public QWidget {
public:
    QStringList events;

protected:
    void showEvent(QShowEvent*) override { events.append(QStringLiteral("show")); }
    void hideEvent(QHideEvent*) override { events.append(QStringLiteral("hide")); }
};

}  // namespace

// With the hide flag the application leaves the screen while the program runs and comes back
// restored; without it the windows stay as they are.
TEST(RunProcessHideFlag, HidesTheApplicationWhileWaitingThenRestoresIt) {
    TestApp();
    WatchedWidget shown;
    shown.show();
    WatchedWidget hidden;  // never shown: stays hidden
    shown.events.clear();

    EXPECT_TRUE(RunProcess("/bin/sh -c \"sleep 0.2\"", true));
    // Minimised (which may show it once more), hidden, then shown again.
    ASSERT_TRUE(shown.events.contains("hide"));
    EXPECT_EQ(shown.events.last(), "show");
    EXPECT_LT(shown.events.lastIndexOf("hide"), shown.events.size() - 1);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_FALSE(shown.windowHandle()->windowStates() & Qt::WindowMinimized);
    EXPECT_FALSE(hidden.isVisible());
    EXPECT_TRUE(hidden.events.isEmpty());

    shown.events.clear();
    EXPECT_TRUE(RunProcess("/bin/true", false));
    EXPECT_TRUE(shown.events.isEmpty());
    EXPECT_FALSE(RunProcess("/bin/false", true));
    EXPECT_TRUE(shown.isVisible());
}
