// The program entry's windows: five, in a fixed order, the main window's start-up done before
// any dialog exists, all hidden and handed to the main window.

#include "app/windows.h"

#include <QDialog>
#include <QMenu>

#include "app/about.h"
#include "files/selectfolder.h"
#include "link/changecode.h"
#include "link/receiveradio.h"
#include "window_fixture.h"

TEST(WindowsTest, FiveWindowsAreCreatedInOrderAfterTheMainWindowsStartUp) {
    QTemporaryDir folder;
    ScriptedPrompts prompts;  // the missing template's box is answered with OK
    AppEnvironment env;
    env.commonDataFolder = folder.filePath("data");
    env.commonDocumentsFolder = folder.filePath("documents");
    env.programFolder = folder.filePath("program") + "/";
    env.arguments = QStringList{"korbi-programmer"};
    env.prompts = &prompts;

    TfrmMain* readyMain = nullptr;
    bool startedWhenReady = true;
    QStringList order;
    bool mainStartedFirst = false;
    AppWindows windows = CreateWindows(
        env,
        [&](TfrmMain* main) {
            readyMain = main;
            startedWhenReady = !main->defaultFolder.isEmpty();
        },
        [&](QWidget* window) {
            order << window->metaObject()->className();
            if (auto* main = qobject_cast<TfrmMain*>(window)) {
                // Start-up has run: captions German, template looked for, no dialog yet.
                mainStartedFirst = main->findChild<QMenu*>("mnuFile")->title() == "&Datei" &&
                                   prompts.MessageIds().contains(10811) && !main->frmAbout &&
                                   main->findChildren<QDialog*>().isEmpty();
            }
            EXPECT_FALSE(window->isVisible());
        });

    EXPECT_EQ(order, QStringList({"TfrmMain", "TfrmReceiveRadio", "TfrmSelectDirectory",
                                  "TfrmChangeCode", "TfrmAbout"}));
    EXPECT_TRUE(mainStartedFirst);
    EXPECT_EQ(readyMain, windows.main.get());
    EXPECT_FALSE(startedWhenReady);

    TfrmMain* main = windows.main.get();
    EXPECT_EQ(main->frmReceiveRadio, windows.receiveRadio.data());
    EXPECT_EQ(main->frmSelectDirectory, windows.selectDirectory.data());
    EXPECT_EQ(main->frmChangeCode, windows.changeCode.data());
    EXPECT_EQ(main->frmAbout, windows.about.data());
    EXPECT_FALSE(main->isVisible());

    // The dialogs go with the main window.
    windows.main.reset();
    EXPECT_TRUE(windows.about.isNull());
    EXPECT_TRUE(windows.receiveRadio.isNull());
}
