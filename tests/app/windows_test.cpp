// The program entry's windows: the main window with its start-up done, and four dialogs made
// on first use, once each, hidden and as the main window's children.

#include "app/windows.h"

#include <sys/resource.h>

#include <QDialog>
#include <QMenu>
#include <QTest>

#include "app/about.h"
#include "app/codedialog.h"
#include "app/folderdialog.h"
#include "app/platform.h"
#include "app/waitdialog.h"
#include "files/started_window.h"
#include "link/driverfactory.h"
#include "link/jobs_fixture.h"
#include "link/practicelpx.h"
#include "link/trace.h"
#include "window_fixture.h"

TEST(WindowsTest, TheMainWindowStartsAloneAndEachDialogIsMadeOnceOnFirstUse) {
    QTemporaryDir folder;
    ScriptedPrompts prompts;  // the missing template's box is answered with OK
    AppEnvironment env;
    env.commonDataFolder = folder.filePath("data");
    env.commonDocumentsFolder = folder.filePath("documents");
    env.programFolder = folder.filePath("program") + "/";
    env.arguments = QStringList{"korbi-programmer"};
    env.prompts = &prompts;

    MainWindow* readyMain = nullptr;
    bool startedWhenReady = true;
    QStringList order;
    bool mainStartedFirst = false;
    AppWindows windows = CreateWindows(
        env,
        [&](MainWindow* main) {
            readyMain = main;
            startedWhenReady = !main->defaultFolder.isEmpty();
        },
        [&](QWidget* window) {
            order << window->metaObject()->className();
            if (auto* main = qobject_cast<MainWindow*>(window)) {
                // Start-up has run: captions German, template looked for, no dialog yet.
                mainStartedFirst = main->findChild<QMenu*>("mnuFile")->title() == "&Datei" &&
                                   prompts.MessageIds().contains(10811) && !main->frmAbout &&
                                   main->findChildren<QDialog*>().isEmpty();
            }
            EXPECT_FALSE(window->isVisible());
            EXPECT_TRUE(window->parent() == nullptr || window->parent() == readyMain);
        });
    MainWindow* main = windows.main.get();
    EXPECT_TRUE(mainStartedFirst);
    EXPECT_EQ(readyMain, main);
    EXPECT_FALSE(startedWhenReady);
    EXPECT_EQ(order, QStringList({"MainWindow"}));
    EXPECT_TRUE(main->findChildren<QDialog*>().isEmpty());
    EXPECT_FALSE(main->isVisible());

    // Asking whether a dialog can be had makes none; using one makes it, and only once.
    EXPECT_TRUE(main->frmReceiveRadio && main->frmSelectDirectory && main->frmChangeCode &&
                main->frmAbout);
    AboutBox* about = main->frmAbout;
    EXPECT_EQ(main->frmAbout.get(), about);
    QPointer<PressWaitDialog> wait = main->frmReceiveRadio.get();
    main->frmChangeCode->objectName();
    main->frmSelectDirectory->objectName();
    main->frmAbout->objectName();
    EXPECT_EQ(order, QStringList({"MainWindow", "AboutBox", "PressWaitDialog", "CodeChangeDialog",
                                  "FolderDialog"}));
    EXPECT_EQ(main->findChildren<QDialog*>(Qt::FindDirectChildrenOnly).size(), 4);
    // Only practice mode has a button that presses a device.
    EXPECT_EQ(wait->findChild<QPushButton*>("btnPressKorbi"), nullptr);

    // The dialogs go with the main window.
    QPointer<AboutBox> aboutAlive = about;
    windows.main.reset();
    EXPECT_TRUE(aboutAlive.isNull());
    EXPECT_TRUE(wait.isNull());
}

// Both programs read their options by one table: --simulate picks the generation of the
// simulated devices and wins over --port; an option the program does not know (also one that
// starts with a look-alike dash), a bad value or an option given twice is refused before
// anything starts, so it never reaches a real LPX.
TEST(WindowsTest, OptionsAreReadByOneTableAndChooseTheLpx) {
    const struct {
        QStringList arguments;
        ProgramBit program;
        bool accepted;
        int firmwareVersion;  // of the simulated devices; 0: the real LPX
    } cases[] = {
        {{}, ForWindow, true, 0},
        {{"--simulate"}, ForWindow, true, 0x21},
        {{"--simulate=1"}, ForWindow, true, 0x1A},
        {{"--port=/dev/null", "--simulate=2"}, ForWindow, true, 0x21},
        {{"--exit-after-start", "--", "--a.Korbi"}, ForWindow, true, 0},
        {{"--simualte"}, ForWindow, false, 0},
        // Dashes a word processor makes of "--": never a file name, always an unknown option.
        {{"\u2013simulate"}, ForWindow, false, 0},
        {{"\u2212\u2212simulate"}, ForWindow, false, 0},
        {{"--", "\u2014a.Korbi"}, ForWindow, true, 0},
        {{"show", "a.Korbi", "\u2014json"}, ForCli, false, 0},
        {{"--simulate=3"}, ForWindow, false, 0},
        {{"--simulate=2", "--simulate=1"}, ForWindow, false, 0},
        {{"--json"}, ForWindow, false, 0},
        {{"show", "a.Korbi", "--json"}, ForCli, true, 0},
    };
    for (const auto& c : cases) {
        const std::string name = c.arguments.join(' ').toStdString();
        ProgramOptions options;
        QString error;
        EXPECT_EQ(
            ParseProgramOptions(c.program, QStringList{"korbi"} + c.arguments, &options, &error),
            c.accepted)
            << name;
        EXPECT_EQ(error.isEmpty(), c.accepted) << name;
        if (!c.accepted || c.program != ForWindow) continue;
        AppEnvironment env;
        const std::unique_ptr<SerialDriver> driver = ConnectLpx(options, env);
        EXPECT_EQ(env.practiceMode, c.firmwareVersion != 0) << name;
        if (env.practiceLpx) {
            EXPECT_EQ(env.practiceLpx->Sim().Device(2).memory[0x2F], c.firmwareVersion);
        }
    }
}

// A trace cut off by a file-size limit during a write: the job ends as it does, and then a box
// says that the trace is incomplete (not in the middle of the job, where it would run a loop of
// its own).
TEST(WindowsTest, ACutTraceIsSaidOnceTheJobHasEnded) {
    Machine machine;
    machine.Ship();
    AppWindows windows = machine.StartProgram({"--simulate"});
    MainWindow& main = *windows.main;
    QPushButton* press = windows.main->frmReceiveRadio->btnPressKorbi;
    ShowHook hook;
    hook.fallback = [press] { press->click(); };
    windows.main->frmReceiveRadio->installEventFilter(&hook);
    constexpr rlim_t kLimit = 1 << 20;
    const QString trace = machine.root.path() + "/trace.txt";
    WriteBytes(trace, QByteArray(kLimit - 100, 'x'));
    QString error;
    ASSERT_TRUE(StartTrace(trace, &error)) << error.toStdString();
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit limit{kLimit, old.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    machine.prompts.answers = {BoxAnswer::Ok};
    main.onWriteClicked();
    // The box would run a loop of its own inside the job: it waits for the job's end.
    bool toldDuringTheJob = false;
    RunEventsUntil([&] {
        toldDuringTheJob |= !machine.prompts.MessageIds().isEmpty() && main.Jobs().Running();
        return !main.Jobs().Running();
    });
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(toldDuringTheJob);
    EXPECT_EQ(main.StatusText(),
              QString::fromUtf8("K-ORBI 12AB: Konfiguration wurde aktualisiert."));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !machine.prompts.MessageIds().isEmpty(); }, 5000));
    EXPECT_EQ(machine.prompts.MessageIds(), QList<int>{Msg::TraceIncomplete});
    StopTrace();
}

// The program started with --simulate, every press being the wait dialog's own button: a write
// is read back from the same device; the next write goes to the next device.
TEST(WindowsTest, PracticeModeReadsAndWritesSimulatedDevices) {
    Machine machine;
    machine.Ship();
    AppWindows windows = machine.StartProgram({"--simulate"});
    MainWindow& main = *windows.main;
    EXPECT_EQ(main.windowTitle(),
              QString::fromUtf8("(Standard) - K-ORBI Programmiergerät [Übungsmodus]"));
    QPushButton* press = windows.main->frmReceiveRadio->btnPressKorbi;
    ASSERT_NE(press, nullptr);
    ShowHook hook;
    hook.fallback = [press] { press->click(); };
    windows.main->frmReceiveRadio->installEventFilter(&hook);

    main.onReadClicked();
    FinishJob(main.Jobs());
    EXPECT_EQ(main.findChild<QLineEdit*>("edtRadioCodeOld")->text(), "12AB");
    main.findChild<QLineEdit*>("edtBatteryTestInterval")->setText("42");
    main.onWriteClicked();
    FinishJob(main.Jobs());
    EXPECT_EQ(main.StatusText(),
              QString::fromUtf8("K-ORBI 12AB: Konfiguration wurde aktualisiert."));
    main.findChild<QLineEdit*>("edtBatteryTestInterval")->setText("7");
    machine.prompts.answers = {BoxAnswer::No};  // the edit is discarded for the read
    main.onReadClicked();
    FinishJob(main.Jobs());
    EXPECT_EQ(main.findChild<QLineEdit*>("edtRadioCodeOld")->text(), "12AB");
    EXPECT_EQ(main.findChild<QLineEdit*>("edtBatteryTestInterval")->text(), "42");
    EXPECT_TRUE(main.windowTitle().endsWith(QString::fromUtf8(" [Übungsmodus]")));

    main.onWriteClicked();
    FinishJob(main.Jobs());
    EXPECT_EQ(main.findChild<QLineEdit*>("edtRadioCodeOld")->text(), "34CD");
    LpxSim& sim = machine.env.practiceLpx->Sim();
    EXPECT_EQ(sim.Device(1).memory[Addr::BatteryTestInterval], 42);
    EXPECT_EQ(sim.Device(2).memory[Addr::BatteryTestInterval], 24);
    EXPECT_EQ(hook.shows, 8);
    EXPECT_EQ(machine.prompts.MessageIds(), QList<int>{Msg::UnsavedEditsQuestion});
    // Practice is no work on a real device: the journal stays as it was.
    EXPECT_FALSE(QFile::exists(machine.dataFolder + "Protokoll.sqlite"));
}
