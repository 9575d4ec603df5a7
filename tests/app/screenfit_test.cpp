// The window and the dialogs on a 1366x768 laptop screen, run once per text scaling
// (QT_SCALE_FACTOR from CTest): at 100 % the window is exactly as designed; above it only the
// settings scroll, inside a window that with its frame fits the screen's free area, while the
// practice banner, the two command buttons and the status line stay in sight.

#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>

#include "app/about.h"
#include "app/centring.h"
#include "app/codedialog.h"
#include "app/folderdialog.h"
#include "app/seriesdialog.h"
#include "app/waitdialog.h"
#include "app/windowaids.h"
#include "app/windows.h"
#include "window_fixture.h"

namespace {

double Scale() {
    return qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
}

// The whole of widget is inside top's own area and not covered by another window part.
bool WhollyShown(QWidget* widget, QWidget* top) {
    const QRect shown(widget->mapTo(top, QPoint(0, 0)), widget->size());
    return widget->isVisible() && top->rect().contains(shown) &&
           top->childAt(shown.center()) != nullptr &&
           (top->childAt(shown.center()) == widget ||
            widget->isAncestorOf(top->childAt(shown.center())));
}

}  // namespace

TEST_F(WindowTest, OnTheLaptopScreenOnlyTheSettingsScroll) {
    const QSize pixels = window->screen()->geometry().size() * window->screen()->devicePixelRatio();
    ASSERT_NEAR(pixels.width(), 1366, 1);
    ASSERT_NEAR(pixels.height(), 768, 1);
    env.practiceMode = true;  // with the banner
    AddWindowAids(window.get(), env);
    window->show();
    auto* scroll = window->findChild<QScrollArea*>("clientScroll");
    auto* pages = Find<QWidget>("pgMain");
    if (Scale() == 1.0) {
        EXPECT_FALSE(scroll);
        EXPECT_EQ(window->width(), 914);
        EXPECT_EQ(pages->geometry(), QRect(8, 8, 897, 481));
        EXPECT_EQ(Find<QWidget>("Panel1")->geometry(), QRect(8, 496, 897, 57));
        return;
    }
    ASSERT_TRUE(scroll);
    const QRect area = window->screen()->availableGeometry();
    const QSize frame = FrameAllowance(window.get());
    EXPECT_LE(window->width() + frame.width(), area.width());
    EXPECT_LE(window->height() + frame.height(), area.height());
    for (const char* name : {"btnReadFromDevice", "btnWriteToDevice", "lblPracticeBanner"}) {
        auto* part = Find<QWidget>(name);
        EXPECT_FALSE(scroll->isAncestorOf(part)) << name;
        EXPECT_TRUE(WhollyShown(part, window.get())) << name;
    }
    EXPECT_TRUE(WhollyShown(window->statusBar(), window.get()));
    // The settings are those of the 100 % window, reached by scrolling.
    EXPECT_TRUE(scroll->isAncestorOf(pages));
    EXPECT_EQ(pages->geometry(), QRect(8, 8, 897, 481));
    auto* lowest = Find<QWidget>("gbxProductInformation");
    scroll->ensureWidgetVisible(lowest, 0, 0);
    EXPECT_TRUE(
        scroll->viewport()->rect().contains(lowest->mapTo(scroll->viewport(), QPoint(0, 0))));
}

// Up to 150 %; at 200 % the series dialog's choices are wider than half the laptop's screen.
TEST_F(WindowTest, EveryDialogFitsTheLaptopScreen) {
    if (Scale() > 1.5) GTEST_SKIP() << "dialogs are fitted up to 150 %";
    env.arguments = QStringList{"korbi-programmer"};
    AppWindows windows = CreateWindows(env);
    TfrmSeries series(*windows.main);
    const QRect area = window->screen()->availableGeometry();
    for (QWidget* dialog : std::initializer_list<QWidget*>{
             windows.receiveRadio.data(), windows.selectDirectory.data(), windows.changeCode.data(),
             windows.about.data(), &series}) {
        const QSize frame = FrameAllowance(dialog);
        EXPECT_LE(dialog->width() + frame.width(), area.width())
            << dialog->objectName().toStdString();
        EXPECT_LE(dialog->height() + frame.height(), area.height())
            << dialog->objectName().toStdString();
    }
}
