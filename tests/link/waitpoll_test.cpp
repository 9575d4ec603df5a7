// The wait dialog, the status poll timer and the device picture.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>
#include <optional>

#include "app/devicepicture.h"
#include "app/mainwindow.h"
#include "app/waitdialog.h"
#include "config/image.h"
#include "fake_line.h"
#include "link/lpxsim.h"
#include "link/serialdriver.h"
#include "resources/catalogue.h"
#include "support/scripted_prompts.h"

namespace {

class WaitPollTest : public ::testing::Test {
  protected:
    WaitPollTest() {
        env.prompts = &prompts;
        env.serialDriver = &driver;
        window = std::make_unique<MainWindow>(env);
        wait = new PressWaitDialog(window.get());
        window->AttachDialogs(wait, nullptr, nullptr, nullptr);
    }

    FakeDriver driver;
    ScriptedPrompts prompts;
    AppEnvironment env;
    std::unique_ptr<MainWindow> window;
    PressWaitDialog* wait = nullptr;
};

TEST(JobStatusTest, OnlyTheThreeFinalStatusesEndAWait) {
    const std::pair<std::string, int> cases[] = {
        {"03", WaitDone},
        {"04", WaitFailed},
        {"05", WaitTimedOut},
        {"00", 0},
        {"02", 0},
        {"06", 0},
        {"0a", 0},
        {"0A", 0},
        {"3", 0},
        {"003", 0},
        {"13", 0},
        {"30", 0},
        {std::string("\0"
                     "3",
                     2),
         0},
        {"x3", 0},
        {"", 0},
    };
    for (const auto& [payload, outcome] : cases)
        EXPECT_EQ(OutcomeOfJobStatus(payload).value_or(WaitOutcome(0)), outcome) << payload;
}

// A wait shows the dialog modal to the program and returns at once (the job thread does the
// waiting); its end closes the dialog.
TEST_F(WaitPollTest, AWaitShowsTheDialogWithoutALoopOfItsOwn) {
    window->WaitBegins({10601, 10872, 10602});
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(wait->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(wait->windowTitle(), Text(10601));
    EXPECT_FALSE(window->PollInterval()) << "the window's thread never waits";
    window->WaitEnds();
    EXPECT_FALSE(wait->isVisible());
}

TEST_F(WaitPollTest, DialogLayout) {
    // The progress line adds a strip below the group box; nothing above it moves.
    auto* progress = wait->findChild<QLabel*>("lblWaitProgress");
    EXPECT_EQ(wait->width(), 398);
    EXPECT_GE(progress->y(), 8 + 201 - 4);
    // The reminder after 30 s wraps within the line's room, every word of it inside the dialog.
    progress->setText(QString::fromUtf8("Schritt 2 von 2: Schreiben – seit 31 s\n") + Text(20536));
    EXPECT_GE(progress->height(), progress->heightForWidth(progress->width()));
    EXPECT_LE(progress->geometry().bottom(), wait->height());
    EXPECT_FALSE(wait->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(wait->gbxReceiveRadio->geometry(), QRect(8, 8, 385, 201));
    EXPECT_EQ(wait->imgTransmitter->geometry(), QRect(16, 24, 121, 160));
    EXPECT_EQ(wait->btbtnAbort->geometry(), QRect(256, 152, 113, 33));
    ASSERT_NE(wait->imgTransmitter->pixmap().isNull(), true);
    EXPECT_LE(wait->imgTransmitter->pixmap().width(), 121);
    EXPECT_EQ(wait->imgTransmitter->pixmap().height(), 160);
    wait->SetInstruction(Text(10503));
    EXPECT_EQ(wait->lblAction->width(), 223);  // 385 x 0.58 = 223.3
    EXPECT_EQ(wait->lblAction->pos(), QPoint(144, 40));
    // Broken at spaces only: no instruction tears "K-ORBI" at its hyphen, which stays plain, and
    // each line fits; a screen reader hears the sentences whole.
    for (int id : {10502, 10503, 10602, 10628}) {
        wait->SetInstruction(Text(id));
        const QString shown = wait->lblAction->text();
        EXPECT_FALSE(shown.contains(QChar(0x2011))) << id;
        EXPECT_EQ(QString(shown).replace('\n', ' ').simplified(), Text(id).simplified()) << id;
        for (const QString& line : shown.split('\n')) {
            EXPECT_FALSE(line.endsWith('-')) << id;
            EXPECT_LE(wait->lblAction->fontMetrics().horizontalAdvance(line), 223) << id;
        }
        EXPECT_EQ(wait->lblAction->accessibleName(), Text(id).simplified());
    }
    // The picture is no second heading.
    wait->SetHeading(Text(10872));
    EXPECT_NE(QAccessible::queryAccessibleInterface(wait->imgTransmitter)->text(QAccessible::Name),
              wait->gbxReceiveRadio->title());
    wait->show();
    EXPECT_EQ(wait->btbtnAbort->text(), "&Abbruch");
    wait->hide();
}

// Escape and a close request end a wait as the abort button does.
TEST_F(WaitPollTest, EscapeAndCloseAreTheAbortButton) {
    const std::function<void()> ways[] = {[this] { QTest::keyClick(wait, Qt::Key_Escape); },
                                          [this] { wait->close(); },
                                          [this] { wait->btbtnAbort->click(); }};
    int aborts = 0;
    wait->SetAbort([&aborts] { ++aborts; });
    wait->show();
    for (const auto& way : ways) way();
    EXPECT_EQ(aborts, 3);
    EXPECT_TRUE(wait->isVisible());  // the job's end closes it, not the abort
    wait->hide();
}

TEST(DevicePictureTest, DecodesTheEmbeddedPictureAndRefusesOtherData) {
    const QImage picture = DevicePicture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(97, 128));
    // The red button lies in the middle of the picture.
    const QColor centre = picture.pixelColor(48, 85);
    EXPECT_GT(centre.red(), 150);
    EXPECT_LT(centre.green(), 100);
    // The window icon draws the same squares when it is asked for them.
    const QIcon icon = ProgramWindowIcon();
    EXPECT_EQ(icon.availableSizes().size(), 5);
    for (int side : {16, 48, 128})
        EXPECT_EQ(icon.pixmap(side).toImage().convertToFormat(QImage::Format_RGB888),
                  DeviceIcon(picture, side).convertToFormat(QImage::Format_RGB888));

    QFile file(QStringLiteral(KORBI_SOURCE_DIR) + "/resources/korbi.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray jpeg = file.readAll();
    EXPECT_EQ(DecodeJpeg(jpeg).size(), QSize(97, 128));
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg("not a picture").isNull());
    // Cut short or damaged data never ends the program.
    for (int length : {2, 20, 200, static_cast<int>(jpeg.size()) / 2})
        DecodeJpeg(jpeg.left(length));
    QByteArray damaged = jpeg;
    for (int i = 100; i < damaged.size(); i += 97)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    DecodeJpeg(damaged);
}

}  // namespace
