// The window and the dialogs on a 1366x768 laptop screen, run once per text scaling
// (QT_SCALE_FACTOR from CTest): at 100 % the window is exactly as designed; above it only the
// settings scroll, inside a window that with its frame fits the screen's free area, while the
// practice banner, the two command buttons and the status line stay in sight.

#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>

#include "app/centring.h"
#include "app/journalview.h"
#include "app/seriesdialog.h"
#include "app/windowaids.h"
#include "app/windows.h"
#include "window_fixture.h"

namespace {

double Scale() {
    return qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
}

// top with its frame allowance fits the screen's free area.
bool FitsTheScreen(QWidget* top) {
    const QSize room = top->screen()->availableGeometry().size() - FrameAllowance(top);
    return top->width() <= room.width() && top->height() <= room.height();
}

}  // namespace

TEST_F(WindowTest, OnTheLaptopScreenOnlyTheSettingsScroll) {
    ASSERT_NEAR(window->screen()->geometry().width() * window->screen()->devicePixelRatio(), 1366,
                1);
    env.practiceMode = true;  // with the banner
    AddWindowAids(window.get(), env);
    window->show();
    auto* scroll = window->findChild<QScrollArea*>("clientScroll");
    auto* pages = Find<QWidget>("pgMain");
    EXPECT_EQ(pages->geometry(), QRect(8, 8, 897, 481));  // as at 100 %, scrolled or not
    if (Scale() == 1.0) {
        EXPECT_FALSE(scroll);
        EXPECT_EQ(window->width(), 914);
        EXPECT_EQ(Find<QWidget>("Panel1")->geometry(), QRect(8, 496, 897, 57));
        return;
    }
    ASSERT_TRUE(scroll);
    EXPECT_TRUE(FitsTheScreen(window.get()));
    EXPECT_TRUE(scroll->isAncestorOf(pages));
    for (QWidget* part :
         {Find<QWidget>("btnReadFromDevice"), Find<QWidget>("btnWriteToDevice"),
          Find<QWidget>("lblPracticeBanner"), static_cast<QWidget*>(window->statusBar())}) {
        const QRect shown(part->mapTo(window.get(), QPoint(0, 0)), part->size());
        EXPECT_FALSE(scroll->isAncestorOf(part)) << part->objectName().toStdString();
        EXPECT_TRUE(window->rect().contains(shown)) << part->objectName().toStdString();
    }
}

// Up to 150 %; at 200 % the series dialog's choices are wider than half the laptop's screen.
TEST_F(WindowTest, EveryDialogFitsTheLaptopScreen) {
    if (Scale() > 1.5) GTEST_SKIP() << "dialogs are fitted up to 150 %";
    env.arguments = QStringList{"korbi-programmer"};
    AppWindows windows = CreateWindows(env);
    SeriesDialog series(*windows.main);
    JournalWindow journal(windows.main->Jobs().Record().Target(), windows.main.get());
    MakeDialogs(*windows.main);
    for (QWidget* dialog : windows.main->findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(FitsTheScreen(dialog)) << dialog->objectName().toStdString();
}
