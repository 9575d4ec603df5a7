// The window on a 1366x768 laptop screen, run once per text scaling (QT_SCALE_FACTOR from
// CTest): at 150 % the settings view scrolls inside a window that fits and every control can be
// reached; at 100 % the window is exactly as designed.

#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include "app/windowaids.h"
#include "window_fixture.h"

TEST_F(WindowTest, LaptopScreenScrollsOnlyWhenTheWindowDoesNotFit) {
    const QSize pixels = window->screen()->geometry().size() * window->screen()->devicePixelRatio();
    ASSERT_NEAR(pixels.width(), 1366, 1);
    ASSERT_NEAR(pixels.height(), 768, 1);
    const bool scaled = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble() > 1.0;
    AddWindowAids(window.get(), env);
    window->show();
    auto* scroll = window->findChild<QScrollArea*>("clientScroll");
    if (!scaled) {
        EXPECT_FALSE(scroll);
        EXPECT_EQ(window->width(), 914);
        EXPECT_EQ(window->height() - window->menuBar()->height(), 581);
        return;
    }
    ASSERT_TRUE(scroll);
    const QRect area = window->screen()->availableGeometry();
    EXPECT_LE(window->width(), area.width());
    EXPECT_LE(window->height() + 32, area.height());
    // The bottom row, the first thing a too-tall window loses, scrolls into view.
    for (const char* name : {"btnWriteToDevice", "btnReadFromDevice", "pgMain"}) {
        auto* target = Find<QWidget>(name);
        scroll->ensureWidgetVisible(target, 0, 0);
        const QRect shown(target->mapTo(scroll->viewport(), QPoint(0, 0)), target->size());
        EXPECT_TRUE(scroll->viewport()->rect().intersects(shown)) << name;
    }
    // Positions inside the settings view are those of the 100 % window.
    EXPECT_EQ(Find<QWidget>("pgMain")->geometry(), QRect(8, 8, 897, 481));
}
