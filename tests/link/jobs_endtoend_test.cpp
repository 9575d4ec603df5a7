// A whole read and write through the tty driver on a pseudo-terminal, served by the lpx-sim
// tool in its own process.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <sstream>

#include "app/codedialog.h"
#include "app/mainwindow.h"
#include "app/seriesdialog.h"
#include "app/waitdialog.h"
#include "jobs_fixture.h"
#include "link/ttydriver.h"
#include "lpxsim_process.h"
#include "record/journal.h"
#include "resources/catalogue.h"
#include "support/job_events.h"
#include "support/journal_lines.h"

namespace {

using Options = std::vector<std::string>;

// The program's main window with its wait dialog, its LPX on the serial device at port.
struct ProgramOnPort {
    explicit ProgramOnPort(const std::string& port) : driver(TtyDriver::ForPort(port)) {
        env.prompts = &prompts;
        env.serialDriver = driver.get();
        window = std::make_unique<MainWindow>(env);
        wait = new PressWaitDialog(window.get());
        window->AttachDialogs(wait, nullptr, new CodeChangeDialog(window->Jobs(), window.get()),
                              nullptr);
    }
    std::unique_ptr<TtyDriver> driver;
    ScriptedPrompts prompts;
    AppEnvironment env;
    std::unique_ptr<MainWindow> window;
    PressWaitDialog* wait = nullptr;
};

TEST(JobsEndToEnd, ReadAndWriteThroughThePseudoTerminal) {
    QTemporaryDir dir;
    const std::string logPath = dir.filePath("lpx-sim.log").toStdString();
    // One generation 1 device whose button is pressed 50 ms after every job start.
    LpxSimProcess lpx(logPath, {"--press-after=50", "--device=4C2D:1A"});
    ASSERT_FALSE(lpx.path.empty());
    ProgramOnPort program(lpx.path);
    MainWindow& window = *program.window;
    const ScriptedPrompts& prompts = program.prompts;
    UseRecord(window.Jobs(), dir.filePath("Protokoll.sqlite"));

    auto* interval = window.findChild<QLineEdit*>("edtBatteryTestInterval");

    window.onReadClicked();
    FinishJob(window.Jobs());
    EXPECT_EQ(window.StatusText(), kReadDone);
    EXPECT_EQ(window.findChild<QLineEdit*>("edtRadioCodeOld")->text(), "4C2D");
    EXPECT_EQ(interval->text(), "24");
    EXPECT_EQ(window.findChild<QLineEdit*>("edtFirmwareVersion")->text(), "1.A");

    interval->setText("42");
    window.onWriteClicked();
    FinishJob(window.Jobs());
    EXPECT_EQ(window.StatusText(), kWriteDone);

    interval->setText("7");
    program.prompts.answers = {BoxAnswer::No};  // the edit is discarded for the read
    window.onReadClicked();
    FinishJob(window.Jobs());
    EXPECT_EQ(window.StatusText(), kReadDone);
    EXPECT_EQ(interval->text(), "42");
    EXPECT_EQ(prompts.MessageIds(), QList<int>{Msg::UnsavedEditsQuestion});
    // The window's jobs are journalled like korbi-cli's, and read back what was written.
    const QList<QStringList> journal = JournalLines(window.Jobs().Record().Target());
    ASSERT_EQ(journal.size(), 3);
    for (const QStringList& line : journal) {
        EXPECT_EQ(line[ColOutcome], "ok");
        EXPECT_EQ(line[ColProgram], "fenster");
        EXPECT_EQ(line[ColCodeBefore], "4C2D");
    }
    EXPECT_NE(journal[0][ColSha256], journal[2][ColSha256]);

    const Commands read =
        Join(Identification(), {"m", "m0622", "m0828", "m0830", "m0840", "m0848", "m0238", "i4C2D",
                                "M", "x", "x", "x", "x", "x", "x", "x", "m"});
    const Commands expected = Join(read, Identification());
    const Commands logged = LoggedCommands(logPath);
    ASSERT_GE(logged.size(), expected.size() + 9 + read.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(logged[i], expected[i]) << i;
    // The write: five common blocks, the job for the device's code, one poll, list emptied.
    const size_t w = expected.size();
    const char* heads[] = {"n", "n0327", "n022C", "n0730", "n0840", "n0848", "i4C2D", "N", "n"};
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(logged[w + i].substr(0, 5), heads[i]) << w + i;
    EXPECT_EQ(logged[w + 2], "n022C2A11");  // battery test interval 42, configuration bits
    EXPECT_EQ(std::vector<std::string>(logged.begin() + static_cast<long>(w + 9), logged.end()),
              read);
}

// The converter goes away while the read waits for the button: the wait ends at the next poll
// without spinning, the user is told, nothing is left open, and once the LPX is back under its
// name the next job finds it without a restart.
TEST(JobsEndToEnd, LostLineEndsTheWaitAndTheLpxIsFoundAgain) {
    QTemporaryDir dir;
    const std::string port = dir.filePath("korbi-lpx").toStdString();  // as the udev link
    auto lpx = std::make_unique<LpxSimProcess>(dir.filePath("1.log").toStdString(),
                                               Options{"--press-after=-1", "--device=4C2D:1A"});
    ASSERT_EQ(symlink(lpx->path.c_str(), port.c_str()), 0);
    ProgramOnPort program(port);
    MainWindow& window = *program.window;
    ScriptedPrompts& prompts = program.prompts;
    ShowHook hook;
    program.wait->installEventFilter(&hook);
    std::clock_t cpuAtHangUp = 0;  // the whole process's, all threads
    hook.actions = {[&] { lpx->Press(); },
                    [&] {
                        cpuAtHangUp = std::clock();
                        lpx->HangUp();
                    }};
    window.onReadClicked();
    FinishJob(window.Jobs());
    const double cpu = double(std::clock() - cpuAtHangUp) / CLOCKS_PER_SEC;
    EXPECT_EQ(hook.shows, 2);
    EXPECT_LT(cpu, 0.3) << "the wait spun on the hung-up line";
    ASSERT_EQ(prompts.MessageIds(), QList<int>{10805});
    EXPECT_EQ(prompts.records[0].text, Text(10805) + "\n\n" + Text(20050));
    EXPECT_FALSE(window.adapter.IsOpen());
    EXPECT_TRUE(window.StatusText().isEmpty());

    lpx = std::make_unique<LpxSimProcess>(dir.filePath("2.log").toStdString(),
                                          Options{"--press-after=50", "--device=4C2D:1A"});
    ASSERT_EQ(unlink(port.c_str()), 0);
    ASSERT_EQ(symlink(lpx->path.c_str(), port.c_str()), 0);
    prompts.Clear();
    window.onReadClicked();
    FinishJob(window.Jobs());
    EXPECT_EQ(window.StatusText(), kReadDone);
    EXPECT_TRUE(prompts.MessageIds().isEmpty());
}

// Kommunikation > Serie schreiben... driven by its buttons: three devices, each checked after
// its write, with new codes from a range. No question per device (the list is the
// confirmation), the wait dialog tells which device it waits for, the table sums up.
TEST(JobsEndToEnd, SeriesDialogWritesThreeDevicesWithCodesFromAList) {
    QTemporaryDir dir;
    const std::string logPath = dir.filePath("lpx-sim.log").toStdString();
    LpxSimProcess lpx(logPath, {"--press-after=50", "--press-order=0,0,0,1,1,1,2,2,2",
                                "--device=4C2D:21", "--device=5D3E:21", "--device=6E4F:21"});
    ASSERT_FALSE(lpx.path.empty());
    ProgramOnPort program(lpx.path);
    MainWindow& window = *program.window;
    UseRecord(window.Jobs(), dir.filePath("Protokoll.sqlite"));

    SeriesDialog dialog(window);
    dialog.show();
    QTest::mouseClick(dialog.cbVerify, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::keyClicks(dialog.edtCodeList, "1001-1005");
    ASSERT_TRUE(dialog.rbCodeList->isChecked());
    // More devices than codes is said before the first press; No starts nothing.
    dialog.edtCount->setValue(6);
    program.prompts.answers = {BoxAnswer::No};
    QTest::mouseClick(dialog.btnStart, Qt::LeftButton);
    EXPECT_EQ(program.prompts.MessageIds(), QList<int>{20247});
    EXPECT_EQ(dialog.lstReport->count(), 0);
    program.prompts.Clear();
    dialog.edtCount->setValue(3);
    QTest::mouseClick(dialog.btnStart, Qt::LeftButton);
    RunEventsUntil([&dialog] { return dialog.btnStart->isEnabled(); });

    EXPECT_TRUE(program.prompts.MessageIds().isEmpty());
    EXPECT_EQ(program.wait->lblSeries->text(), "Gerät 3 von 3");
    EXPECT_EQ(dialog.lstReport->item(0)->text(), "Gerät 1: 4C2D → 1001 geschrieben und geprüft");
    EXPECT_EQ(dialog.lblSummary->text(), "Geschrieben: 3, fehlgeschlagen: 0, abgebrochen: 0");
    ASSERT_EQ(dialog.tblSummary->rowCount(), 3);
    const char* const rows[][2] = {{"4C2D", "1001"}, {"5D3E", "1002"}, {"6E4F", "1003"}};
    const QList<QStringList> journal = JournalLines(window.Jobs().Record().Target());
    ASSERT_EQ(journal.size(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(dialog.tblSummary->item(row, 1)->text(), rows[row][0]);
        EXPECT_EQ(dialog.tblSummary->item(row, 2)->text(), rows[row][1]);
        EXPECT_EQ(dialog.tblSummary->item(row, 4)->text(), "geprüft");
        EXPECT_EQ(journal[row][ColCodeAfter], rows[row][1]);
        EXPECT_EQ(journal[row][ColOutcome], "geprüft");
    }
    // The window's own fields are as they were before the series.
    EXPECT_TRUE(window.Model().Text(Field::newRadioCode).isEmpty());
}

}  // namespace
