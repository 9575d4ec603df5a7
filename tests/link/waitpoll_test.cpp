// The wait dialog, the status poll timer and the device picture.

#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
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
        window = std::make_unique<TfrmMain>(env);
        wait = new TfrmReceiveRadio(window.get());
        window->AttachDialogs(wait, nullptr, nullptr, nullptr);
        window->adapter.Open();
    }
    ~WaitPollTest() override { window->adapter.Close(); }

    // One tick with the dialog shown; the dialog's result, 0 while it stays open.
    int TickWith(int tag, const std::string& command, std::optional<std::string> payload) {
        line.answersTo.clear();
        if (payload) line.answersTo[command] = LpxSim::Frame(*payload);
        wait->setResult(0);
        wait->show();
        window->Jobs().pollTag = tag;
        window->tmrPollLpxInfoTimer();
        const int result = wait->isVisible() ? 0 : wait->result();
        wait->hide();
        return result;
    }

    FakeDriver driver;
    FakeLine& line = driver.line;  // every command gets the answer the test chose, or none
    ScriptedPrompts prompts;
    AppEnvironment env;
    std::unique_ptr<TfrmMain> window;
    TfrmReceiveRadio* wait = nullptr;
};

TEST_F(WaitPollTest, JobStatusEndsOrKeepsTheWait) {
    struct Case {
        std::optional<std::string> payload;
        int outcome;  // 0: the dialog stays open
    };
    const Case cases[] = {
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
        {std::nullopt, 0},
    };
    for (const auto& [tag, command] : {std::pair{PollReadJob, "M"}, std::pair{PollWriteJob, "N"}}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(command + (" " + c.payload.value_or("(none)")));
            line.commands.clear();
            EXPECT_EQ(TickWith(tag, command, c.payload), c.outcome);
            EXPECT_EQ(line.commands, std::vector<std::string>{command});
        }
    }
    // The payload of the last answer stays readable.
    TickWith(PollReadJob, "M", "0a");
    EXPECT_EQ(window->Jobs().jobStatusText, "0a");
}

TEST_F(WaitPollTest, TickWithoutPollKindStopsTheTimer) {
    for (int tag : {0, 100, 301}) {
        line.commands.clear();
        window->findChild<QTimer*>("tmrPollLpxInfo")->start(500);
        EXPECT_EQ(TickWith(tag, "M", "03"), 0);
        EXPECT_TRUE(line.commands.empty());
        EXPECT_FALSE(window->findChild<QTimer*>("tmrPollLpxInfo")->isActive());
    }
}

TEST_F(WaitPollTest, StandbyTimerEndsTheWaitOnAnyC1Status) {
    const std::pair<std::string, int> cases[] = {
        {"00000000", 0}, {"4C2D0000", WaitDone}, {"0000", 0}};
    for (const auto& [payload, outcome] : cases) {
        line.answersTo = {{"c1", LpxSim::Frame(payload)}};
        wait->setResult(0);
        wait->show();
        window->tmrPollLpxTimer();
        EXPECT_EQ(wait->isVisible() ? 0 : wait->result(), outcome) << payload;
        wait->hide();
    }
    EXPECT_FALSE(window->findChild<QTimer*>("tmrPollLpx")->isActive());
}

// The whole wait: the poll timer runs every 500 ms in the dialog's loop until the LPX reports
// an outcome, and is stopped afterwards.
TEST_F(WaitPollTest, RunWaitPollsUntilTheJobEnds) {
    line.answersTo = {{"N", LpxSim::Frame("00")}};
    int polls = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        polls = static_cast<int>(line.commands.size());
        if (polls >= 2) line.answersTo["N"] = LpxSim::Frame("05");
    });
    watch.start(100);
    window->Jobs().pollTag = PollWriteJob;
    const int outcome = window->WaitForButton(PollWriteJob, {10601, 10872, 10602}, true);
    window->StopPolling();
    EXPECT_EQ(outcome, WaitTimedOut);
    EXPECT_EQ(window->findChild<QTimer*>("tmrPollLpxInfo")->interval(), 500);
    EXPECT_EQ(window->findChild<QTimer*>("tmrPollLpxInfo")->timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(window->findChild<QTimer*>("tmrPollLpxInfo")->isActive());
    EXPECT_EQ(line.commands, (std::vector<std::string>{"N", "N", "N"}));
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
    EXPECT_TRUE(wait->lblAction->wordWrap());
    // Wrapped as the label wraps, no instruction breaks "K-ORBI" at its hyphen.
    for (int id : {10502, 10503, 10602, 10628}) {
        wait->SetInstruction(Text(id));
        QTextLayout layout(wait->lblAction->text(), wait->lblAction->font());
        layout.setTextOption(QTextOption(Qt::AlignLeft));  // word wrap, as QLabel's
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(wait->lblAction->width());
            EXPECT_NE(layout.text().mid(line.textStart(), line.textLength()).trimmed().back(), '-');
        }
        layout.endLayout();
    }
    wait->show();
    EXPECT_EQ(wait->btbtnAbort->text(), "&Abbruch");
    wait->hide();
}

// Escape and a close request end a wait as the abort button does.
TEST_F(WaitPollTest, EscapeAndCloseAreTheAbortButton) {
    const std::function<void()> ways[] = {[this] { QTest::keyClick(wait, Qt::Key_Escape); },
                                          [this] { wait->close(); },
                                          [this] { wait->btbtnAbort->click(); }};
    for (const auto& way : ways) {
        QTimer::singleShot(0, wait, way);
        EXPECT_EQ(wait->exec(), WaitAborted);
    }
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
