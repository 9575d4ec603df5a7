// Test main: every test program runs with a QApplication on the offscreen platform, so widgets
// and dialogs are the real ones without a display.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // A test may give the offscreen platform a screen of its own ("offscreen:configfile=...").
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
