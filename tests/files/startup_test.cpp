// Start-up on a machine in a temporary folder: installing and refreshing the shipped files,
// the folders, the default folder, the command line, and what the window shows afterwards.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "app/applicationbus.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"
#include "files/settingsfile.h"
#include "files/templates.h"
#include "resources/catalogue.h"
#include "started_window.h"

namespace {

const QString kTemplateTitle = "(Standard) - K-ORBI Programmiergerät";

QString Setting(const Machine& m, const char* key) {
    return ReadSetting(m.dataFolder + "Values.ini", "Setup", key);
}

}  // namespace

TEST(Startup, FirstStartInstallsEverythingAndShowsTheV2Template) {
    Machine m(Machine::WithShippedFiles);
    auto w = m.Start();

    EXPECT_TRUE(m.prompts.records.isEmpty());
    EXPECT_EQ(w->applicationDataFolder, m.dataFolder);
    EXPECT_EQ(w->documentFolder, m.documentFolder);
    EXPECT_EQ(w->defaultFolder, m.commonDocuments + "/TALO/K-ORBI config");
    EXPECT_EQ(w->settingsFilePath, m.dataFolder + "Values.ini");
    EXPECT_TRUE(IsExistingFolder(m.documentFolder));

    // The data folder did not exist: it is created for the user alone.
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(m.commonData).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    EXPECT_EQ(ReadBytes(m.dataFolder + "Default_v1.bin"), Machine::Shipped("Default_v1.b"));
    EXPECT_EQ(ReadBytes(m.dataFolder + "Default_v2.bin"), Machine::Shipped("Default_v2.b"));
    EXPECT_EQ(Setting(m, "AppVersion"), "1.0.0.0");
    EXPECT_EQ(Setting(m, "ConfigDirectory"), "");

    EXPECT_EQ(w->windowTitle(), kTemplateTitle);
    EXPECT_EQ(w->StatusText(), "Standardkonfiguration geladen");
    EXPECT_EQ(w->configOrigin, OriginTemplate);
    EXPECT_EQ(w->findChild<QLineEdit*>("edtFirmwareVersion")->text(), "2.0");
    EXPECT_EQ(w->findChild<QTabWidget*>("pgMain")->currentWidget(),
              w->findChild<QWidget*>("tbsGeneral"));
    EXPECT_TRUE(w->acceptDrops());
}

TEST(Startup, ASecondStartCopiesNothingButBringsBackADeletedTemplate) {
    Machine m(Machine::WithShippedFiles);
    m.Start();
    // Marks in the installed files show whether they were copied again.
    WriteBytes(m.dataFolder + "Default_v1.bin", TemplateWith(0x00, 0xAA, 1));
    WriteSetting(m.dataFolder + "Values.ini", "Setup", "ConfigDirectory", "/srv/Anlagen/");
    QFile::remove(m.dataFolder + "Default_v2.bin");

    auto w = m.Start();
    EXPECT_EQ(ReadBytes(m.dataFolder + "Default_v1.bin"), TemplateWith(0x00, 0xAA, 1));
    EXPECT_EQ(ReadBytes(m.dataFolder + "Default_v2.bin"), Machine::Shipped("Default_v2.b"));
    EXPECT_EQ(Setting(m, "ConfigDirectory"), "/srv/Anlagen/");
    EXPECT_EQ(w->defaultFolder, "/srv/Anlagen");  // without its trailing delimiter
    EXPECT_EQ(w->windowTitle(), kTemplateTitle);
}

TEST(Startup, AnUpdateReplacesTheInstalledFilesAndKeepsTheDefaultFolder) {
    for (const QString& stored : {QString("/srv/Anlagen"), QString()}) {
        Machine m(Machine::WithShippedFiles);
        m.Start();
        WriteBytes(m.dataFolder + "Default_v1.bin", TemplateWith(0x00, 0xAA, 1));
        WriteBytes(m.dataFolder + "Default_v2.bin", TemplateWith(0x00, 0xAA, 2));
        WriteSetting(m.dataFolder + "Values.ini", "Setup", "ConfigDirectory", stored);
        WriteSetting(m.dataFolder + "Values.ini", "Setup", "Obsolete", "1");

        m.version = "1.0.1.0";
        auto w = m.Start();
        EXPECT_EQ(ReadBytes(m.dataFolder + "Default_v1.bin"), Machine::Shipped("Default_v1.b"));
        EXPECT_EQ(ReadBytes(m.dataFolder + "Default_v2.bin"), Machine::Shipped("Default_v2.b"));
        EXPECT_EQ(Setting(m, "AppVersion"), "1.0.1.0");
        EXPECT_EQ(Setting(m, "Obsolete"), "");  // the shipped file replaced the old one
        EXPECT_EQ(Setting(m, "ConfigDirectory"), stored);
        EXPECT_EQ(w->defaultFolder,
                  stored.isEmpty() ? m.commonDocuments + "/TALO/K-ORBI config" : stored);
    }
}

TEST(Startup, WithoutShippedFilesTheStartValuesStayAndNoSettingsFileIsMade) {
    Machine m;
    m.Ship({"Default_v1.b"});
    auto w = m.Start();

    ASSERT_EQ(m.prompts.MessageIds(), QList<int>{10811});
    EXPECT_EQ(m.prompts.records[0].kind, BoxKind::Error);
    EXPECT_EQ(m.prompts.records[0].text,
              WithCause("Datei default_v2.bin wurde nicht im Anwendungsverzeichnis gefunden",
                        FileErrorCause(ENOENT)));
    EXPECT_FALSE(PathExists(m.dataFolder + "Values.ini"));
    EXPECT_EQ(w->windowTitle(), "K-ORBI Programmer");
    EXPECT_EQ(w->StatusText(), "");
    EXPECT_EQ(w->configOrigin, OriginTemplate);
    EXPECT_EQ(w->findChild<QLineEdit*>("edtNoShortTx")->text(), "3");
    EXPECT_EQ(w->findChild<QLineEdit*>("edtBatteryTestInterval")->text(), "24");
    EXPECT_EQ(w->findChild<QLineEdit*>("edtButtonActivationDelay")->text(),
              "0" + QLocale().decimalPoint() + "1");
    EXPECT_TRUE(w->findChild<QCheckBox*>("cbConfig_D4")->isChecked());
    EXPECT_EQ(w->findChild<QLineEdit*>("edtFirmwareVersion")->text(), "");
    // The file menu still finds the v1.x template.
    w->onNewTriggered(w->findChild<QAction*>("mnuFileNewKorbiV1"));
    EXPECT_EQ(w->windowTitle(), kTemplateTitle);
    EXPECT_EQ(w->findChild<QLineEdit*>("edtFirmwareVersion")->text(), "1.1");
}

// The program's folder never stands in for the user's folders: an installed program would
// write beside /usr/bin. Without a data folder the missing template is said, and so is the
// journal when it is asked for.
TEST(Startup, TheProgramFolderNeverStandsInForACommonFolder) {
    // "cannot be created": a regular file stands where the common folders' parent should be.
    const struct {
        const char* name;
        bool given;
        bool creatable;
    } cases[] = {
        {"not given", false, false},
        {"cannot be created", true, false},
        {"missing, created", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m(Machine::WithShippedFiles);
        if (!c.given) {
            m.commonData.clear();
            m.commonDocuments.clear();
        } else if (!c.creatable) {
            WriteBytes(m.root.path() + "/home", "a file, not a folder");
        }
        auto w = m.Start();
        EXPECT_FALSE(PathExists(m.programFolder + "Config"));
        EXPECT_FALSE(PathExists(m.programFolder + "Values.ini"));
        EXPECT_FALSE(PathExists(m.programFolder + "Default_v2.bin"));
        if (c.creatable) {
            EXPECT_EQ(w->windowTitle(), kTemplateTitle);
            EXPECT_EQ(w->applicationDataFolder, m.dataFolder);
            EXPECT_EQ(w->documentFolder, m.documentFolder);
            EXPECT_TRUE(IsExistingFile(m.dataFolder + "Values.ini"));
            continue;
        }
        EXPECT_EQ(w->applicationDataFolder, QString());
        EXPECT_EQ(w->documentFolder, QString());
        EXPECT_EQ(m.prompts.MessageIds(), QList<int>{Msg::TemplateNotFound});
        m.prompts.Clear();
        w->onShowJournalTriggered();
        EXPECT_EQ(m.prompts.MessageIds(), QList<int>{Msg::DataFolderUnusable});
    }
}

TEST(Startup, ASettingsFileThatCannotBeWrittenIsReportedAndStartUpGoesOn) {
    // Each case prepares a machine whose Values.ini cannot be written. The box comes first; then
    // the window is started as always, with the settings that could be read kept for the session.
    const QString stored = "/srv/Anlagen";
    auto refuseWrites = [](Machine&) {
        SetWriteFaultForTests([](const QString& path) { return path.endsWith("Values.ini"); });
    };
    const struct {
        const char* name;
        std::function<void(Machine&)> prepare;
        int cause;
        bool keepsStoredFolder;
    } cases[] = {
        {"first start, disk full", refuseWrites, ENOSPC, false},
        {"update, disk full",
         [&](Machine& m) {
             m.Start();
             WriteSetting(m.dataFolder + "Values.ini", "Setup", "ConfigDirectory", stored);
             m.version = "1.0.1.0";
             refuseWrites(m);
         },
         ENOSPC, true},
        {"a folder in its place", [](Machine& m) { QDir().mkpath(m.dataFolder + "Values.ini"); },
         EISDIR, false},
        {"a FIFO in its place",
         [](Machine& m) {
             QDir().mkpath(m.dataFolder);
             mkfifo(QFile::encodeName(m.dataFolder + "Values.ini").constData(), 0600);
         },
         EISDIR, false},
        // The superuser may write into any folder: this case needs an ordinary user.
        {"a read-only data folder",
         [](Machine& m) {
             QDir().mkpath(m.dataFolder);
             QFile::copy(m.programFolder + "Default_v2.b", m.dataFolder + "Default_v2.bin");
             chmod(QFile::encodeName(m.dataFolder).constData(), 0555);
         },
         EACCES, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.cause == EACCES && RunningAsSuperuser()) continue;
        Machine m(Machine::WithShippedFiles);
        c.prepare(m);
        m.prompts.Clear();
        auto w = m.Start();
        SetWriteFaultForTests(nullptr);

        ASSERT_EQ(m.prompts.MessageIds(), QList<int>{0});
        EXPECT_EQ(m.prompts.records[0].kind, BoxKind::Error);
        EXPECT_EQ(m.prompts.records[0].text, "Unable to write to " + m.dataFolder + "Values.ini" +
                                                 "\n\n" + FileErrorCause(c.cause));
        EXPECT_EQ(w->windowTitle(), kTemplateTitle);
        EXPECT_EQ(w->findChild<QMenu*>("mnuFile")->title(), "&Datei");
        EXPECT_EQ(w->defaultFolder,
                  c.keepsStoredFolder ? stored : m.commonDocuments + "/TALO/K-ORBI config");
        EXPECT_EQ(w->settingsFilePath, m.dataFolder + "Values.ini");
        chmod(QFile::encodeName(m.dataFolder).constData(), 0755);
    }
}

TEST(Startup, CommandLineFoldersAndFiles) {
    Machine m(Machine::WithShippedFiles);
    const QString folder = m.root.path() + "/Anlagen/";
    QDir().mkpath(folder);
    WriteBytes(folder + "anlage.Korbi", TemplateWith(Addr::TxCounts, 0x52));
    WriteBytes(folder + "short.Korbi", Counting(255));
    WriteBytes(folder + "long.Korbi", Counting(257));
    const QString good = folder + "anlage.Korbi";
    const QString documents = m.commonDocuments + "/TALO/K-ORBI config";
    // A name from an old Latin-1 system, as the command line hands it over: no UTF-8.
    const QByteArray latin1 = QFile::encodeName(folder) + "B\xFCro.Korbi";
    const char* const argv[] = {latin1.constData()};
    const QString byteName = CommandLineArguments(1, argv).first();
    ASSERT_EQ(link(QFile::encodeName(good).constData(), latin1.constData()), 0);

    const struct {
        QStringList arguments;
        QString defaultFolder;
        QString title;
        QList<int> boxes;
    } cases[] = {
        {{folder, good}, folder, "anlage.Korbi - K-ORBI Programmiergerät", {}},
        {{folder}, documents, kTemplateTitle, {}},  // the last argument never names a folder
        {{good}, documents, "anlage.Korbi - K-ORBI Programmiergerät", {}},
        {{folder + "short.Korbi"}, documents, kTemplateTitle, {10822}},
        {{folder + "long.Korbi"}, documents, kTemplateTitle, {10822}},
        {{"--port=/x"}, documents, kTemplateTitle, {}},
        {{folder, "--port=" + good}, documents, kTemplateTitle, {}},
        {{"--port=/x", folder, m.root.path() + "/missing", good},
         folder,
         "anlage.Korbi - K-ORBI Programmiergerät",
         {}},
        {{byteName}, documents, FileNamePart(byteName) + " - K-ORBI Programmiergerät", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(" ").toStdString());
        m.prompts.Clear();
        auto w = m.Start(c.arguments);
        EXPECT_EQ(m.prompts.MessageIds(), c.boxes);
        EXPECT_EQ(w->defaultFolder, c.defaultFolder);
        EXPECT_EQ(w->windowTitle(), c.title);
        // A file loaded from the command line is named; else the template's line stands.
        EXPECT_EQ(w->StatusText(), c.title == kTemplateTitle
                                       ? QString("Standardkonfiguration geladen")
                                       : QString::fromUtf8("Konfigurationsdatei '%1' geöffnet")
                                             .arg(c.title.section(QStringLiteral(" - "), 0, 0)));
        if (c.title != kTemplateTitle) {
            EXPECT_EQ(w->currentFileName, c.arguments.last());
            EXPECT_EQ(w->findChild<QLineEdit*>("edtNoShortTx")->text(), "5");
            EXPECT_EQ(w->findChild<QLineEdit*>("edtNoLongTx")->text(), "2");
        }
    }
    unlink(latin1.constData());  // a name the temporary folder cannot spell
}

TEST(Startup, AForeignProductIsShownButNamesNoFile) {
    const struct {
        const char* name;
        bool foreignTemplate;
        bool foreignFile;
        QString title;
        QString status;
    } cases[] = {
        {"template", true, false, "K-ORBI Programmer", ""},
        {"command line", false, true, kTemplateTitle, "Standardkonfiguration geladen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m(Machine::WithShippedFiles);
        if (c.foreignTemplate)
            WriteBytes(m.programFolder + "Default_v2.b", TemplateWith(Addr::FirmwareType, 5));
        const QString file = m.root.path() + "/fremd.Korbi";
        WriteBytes(file, TemplateWith(Addr::FirmwareType, 5));
        auto w = m.Start(c.foreignFile ? QStringList{file} : QStringList{});

        EXPECT_EQ(m.prompts.MessageIds(), QList<int>{10820});
        EXPECT_EQ(w->findChild<QLineEdit*>("edtFirmwareType")->text(), "unknown");
        EXPECT_EQ(w->windowTitle(), c.title);
        EXPECT_EQ(w->StatusText(), c.status);
        EXPECT_EQ(w->configOrigin, OriginTemplate);
        EXPECT_EQ(w->currentFileName, c.foreignFile ? file : QString());
    }
}

TEST(Startup, ACommandLineFileKeepsTheEnablingOfTheV2Template) {
    // Only File > Open sets the generation-2 controls from the file; the command line leaves
    // them as the v2.x template of start-up set them.
    Machine m(Machine::WithShippedFiles);
    const QString v1 = m.root.path() + "/v1.Korbi";
    WriteBytes(v1, Machine::Shipped("Default_v1.b"));
    auto w = m.Start({v1});
    EXPECT_EQ(w->windowTitle(), "v1.Korbi - K-ORBI Programmiergerät");
    EXPECT_EQ(w->findChild<QLineEdit*>("edtFirmwareVersion")->text(), "1.1");
    EXPECT_TRUE(w->findChild<QLineEdit*>("edtLongDoubleTriplePressTime")->isEnabled());
    EXPECT_TRUE(w->ControlOf(Zone(0, true))->isEnabled());
}

TEST(Startup, ShowingCentresTheWindowAndNamesTheApplication) {
    Machine m(Machine::WithShippedFiles);
    auto w = m.Start();
    w->show();
    const QRect screen = w->screen()->geometry();
    const QRect frame = w->frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
    EXPECT_EQ(QApplication::applicationName(), "K-ORBI Programmiergerät");
    // No display name of its own is set (it follows the application name): the platform would
    // append it to the title of every box and dialog.
    QApplication::setApplicationName("probe");
    EXPECT_EQ(QApplication::applicationDisplayName(), "probe");
    QApplication::setApplicationName("K-ORBI Programmiergerät");
}

// Every way of losing an edit asks first: Abbrechen keeps the edit and the window, Verwerfen goes
// on, Speichern saves (Save As for a view without a file) and then goes on. Opening the file that
// holds the edits again, answered Speichern, shows what the save has just written.
TEST(Startup, UnsavedEditsAreAskedAboutBeforeTheyAreLost) {
    enum Ends { Stays, Quits, Closes, Replaced, Reread };
    using Request = std::function<void(MainWindow&, const QString& file)>;
    const Request exitMenu = [](MainWindow& w, const QString&) {
        w.findChild<QAction*>("mnuFileExit")->trigger();
    };
    const Request close = [](MainWindow& w, const QString&) { w.close(); };
    struct Row {
        const char* name;
        Request request;
        BoxAnswer answer;
        Ends ends;
        bool fileOpen = false;  // the edits were made to the file the request opens
    } rows[] = {
        {"Beenden, Abbrechen", exitMenu, BoxAnswer::Abort, Stays},
        {"Beenden, Verwerfen", exitMenu, BoxAnswer::No, Quits},
        {"Beenden, Speichern", exitMenu, BoxAnswer::Yes, Quits},
        {"closing, Abbrechen", close, BoxAnswer::Abort, Stays},
        {"closing, Verwerfen", close, BoxAnswer::No, Closes},
        {"Neu, Abbrechen",
         [](MainWindow& w, const QString&) {
             w.findChild<QAction*>("mnuFileNewKorbiV2")->trigger();
         },
         BoxAnswer::Abort, Stays},
        {"Öffnen, Verwerfen",
         [](MainWindow& w, const QString&) { w.findChild<QAction*>("mnuFileOpen")->trigger(); },
         BoxAnswer::No, Replaced},
        {"drop, Abbrechen",
         [](MainWindow& w, const QString& file) { w.HandleDroppedFiles({file}); }, BoxAnswer::Abort,
         Stays},
        {"Lesen, Abbrechen",
         [](MainWindow& w, const QString&) {
             w.findChild<QAction*>("mnuCommReadFromDevice")->trigger();
         },
         BoxAnswer::Abort, Stays},
        {"Öffnen the same file, Speichern",
         [](MainWindow& w, const QString&) { w.findChild<QAction*>("mnuFileOpen")->trigger(); },
         BoxAnswer::Yes, Reread, true},
        {"Zuletzt geöffnet, the same file, Speichern",
         [](MainWindow& w, const QString& file) { w.OpenRecentFile(file); }, BoxAnswer::Yes, Reread,
         true},
        {"drop the same file, Speichern",
         [](MainWindow& w, const QString& file) { w.HandleDroppedFiles({file}); }, BoxAnswer::Yes,
         Reread, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Machine m(Machine::WithShippedFiles);
        auto w = m.Start();
        const QString file = m.documentFolder + "anlage.Korbi";
        QFile::copy(m.dataFolder + "Default_v2.bin", file);
        if (row.fileOpen) w->LoadConfigurationFile(file, LoadKind::Open);
        auto* edit = w->findChild<QLineEdit*>("edtNoShortTx");
        const QString loaded = edit->text();
        edit->setText("7");
        ASSERT_TRUE(w->windowTitle().startsWith('*'));
        w->show();
        m.prompts.answers = {row.answer};
        // The file Öffnen chooses, or the name Speichern's Save As gives.
        m.prompts.paths = {row.answer == BoxAnswer::Yes && !row.fileOpen ? m.documentFolder + "neu"
                                                                         : file};

        QTimer::singleShot(0, w.get(), [&] {
            row.request(*w, file);
            QTimer::singleShot(0, qApp, [] { QApplication::exit(7); });  // still running
        });
        const int exitCode = QApplication::exec();

        // Öffnen asks once the file is chosen: a cancelled file dialog loses nothing.
        const auto question =
            std::find_if(m.prompts.records.begin(), m.prompts.records.end(),
                         [](const PromptRecord& r) { return r.type == PromptRecord::Message; });
        ASSERT_NE(question, m.prompts.records.end());
        EXPECT_EQ(question->textId, Msg::UnsavedEditsQuestion);
        EXPECT_EQ(question->buttons, BoxButtons::SaveDiscardCancel);
        EXPECT_EQ(exitCode, row.ends == Quits ? 0 : 7);
        if (row.ends != Quits) {
            EXPECT_EQ(w->isVisible(), row.ends != Closes);
        }
        EXPECT_EQ(edit->text(), row.ends == Replaced ? loaded : QString("7"));
        if (row.answer == BoxAnswer::Yes) {
            const QString saved = row.fileOpen ? file : m.documentFolder + "neu.Korbi";
            EXPECT_EQ(ReadBytes(saved).size(), 256);
            EXPECT_NE(ReadBytes(saved), ReadBytes(m.dataFolder + "Default_v2.bin"));
        }
        EXPECT_EQ(w->windowTitle().startsWith('*'),
                  row.answer != BoxAnswer::Yes && row.ends != Replaced);
    }
}

// A double-click on a file while the program runs: the new start hands the file to the running
// window and ends; the window asks about its unsaved edits and, answered Verwerfen, shows the file.
TEST(Startup, AFileOpenedWhileTheProgramRunsGoesToTheRunningWindow) {
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!daemon.waitForStarted(5000) || !daemon.waitForReadyRead(5000))
        GTEST_SKIP() << "no dbus-daemon to start a private session bus";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection bus = QDBusConnection::connectToBus(address, "running window");
    ASSERT_TRUE(bus.isConnected());

    Machine m(Machine::WithShippedFiles);
    auto w = m.Start();
    const QString file = m.documentFolder + "anlage.Korbi";
    ASSERT_TRUE(QFile::copy(m.dataFolder + "Default_v2.bin", file));
    auto* edit = w->findChild<QLineEdit*>("edtNoShortTx");
    const QString loaded = edit->text();
    edit->setText("7");
    w->show();
    ASSERT_TRUE(ServeApplicationBus(w.get(), bus));
    m.prompts.answers = {BoxAnswer::No};

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    env.insert("HOME", m.root.path() + "/home");  // a window of its own would stay in the test
    second.setProcessEnvironment(env);
    second.start(KORBI_PROGRAMMER_PATH, {file});
    // The running window answers from this loop, so the second start is waited for in it too.
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->windowTitle().startsWith('*'); }, 5000));

    ASSERT_EQ(m.prompts.records.size(), 1u);
    EXPECT_EQ(m.prompts.records[0].textId, Msg::UnsavedEditsQuestion);
    EXPECT_EQ(edit->text(), loaded);
    EXPECT_TRUE(w->windowTitle().contains("anlage")) << w->windowTitle().toStdString();

    if (second.state() != QProcess::NotRunning) second.kill();
    second.waitForFinished();
    QDBusConnection::disconnectFromBus("running window");
    daemon.kill();
    daemon.waitForFinished();
}

TEST(Startup, TheShippedTemplatesAreMadeFromTheirTables) {
    for (const int generation : {1, 2}) {
        const QByteArray shipped = Machine::Shipped(QString("Default_v%1.b").arg(generation));
        EXPECT_EQ(shipped, AsBytes(StartTemplate(generation))) << "korbi-make-templates resources/";
        ASSERT_EQ(shipped.size(), 256);
        EXPECT_EQ(shipped[Addr::FirmwareType], 0);
        EXPECT_EQ(ImageGeneration(static_cast<uint8_t>(shipped[Addr::FirmwareVersion])),
                  generation);
    }
    const QByteArray values = Machine::Shipped("Values.i");
    EXPECT_TRUE(values.contains("[Setup]"));
    EXPECT_TRUE(values.contains("ConfigDirectory=\n"));
}

// Nach dem Schreiben prüfen: off while Values.ini lacks its key (a file from before the entry);
// ticked, it is kept for the next start and the window's writes read the device back.
TEST(Startup, VerifyAfterWriteIsOffUntilTickedAndThenKept) {
    Machine machine(Machine::WithShippedFiles);
    std::unique_ptr<MainWindow> window = machine.Start();
    auto* verify = window->findChild<QAction*>("mnuCommVerifyAfterWrite");
    ASSERT_TRUE(verify && verify->isCheckable());
    EXPECT_FALSE(verify->isChecked());
    EXPECT_FALSE(window->VerifyAfterWrite());
    verify->trigger();
    EXPECT_TRUE(window->VerifyAfterWrite());
    EXPECT_EQ(ReadSetting(machine.dataFolder + "Values.ini", "Setup", "VerifyAfterWrite"), "1");
    window = machine.Start();
    EXPECT_TRUE(window->findChild<QAction*>("mnuCommVerifyAfterWrite")->isChecked());
    EXPECT_TRUE(window->VerifyAfterWrite());
}
