// Start-up and shutdown of the main window: folders, installed files, the default folder, the
// German captions, the v2.x template and a file named on the command line.

#include <QApplication>
#include <QTabWidget>

#include "app/centring.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/sitefield.h"
#include "files/filenames.h"
#include "files/recentfiles.h"
#include "files/settingsfile.h"
#include "files/startupsteps.h"
#include "record/journal.h"
#include "record/journalstore.h"
#include "resources/catalogue.h"

void MainWindow::FormCreate() {
    setAcceptDrops(true);
    const AppEnvironment& env = environment();
    // A data folder that cannot be used leaves start-up silent; the journal view and File >
    // New say so.
    applicationDataFolder = FindApplicationDataFolder(env.commonDataFolder);
    documentFolder = FindDocumentFolder(env.commonDocumentsFolder);

    // Named in every case, also when the file cannot be written: Select Default Folder tries
    // it again.
    const QString dataFolder = ApplicationDataFolderPath(env.commonDataFolder);
    settingsFilePath = dataFolder.isEmpty() ? QString() : SettingsFilePath(dataFolder);
    // Practice jobs are no work on real devices and stay out of the journal.
    JobRecord record = Jobs().Record();
    record.path = env.practiceMode ? QString() : JournalPath(applicationDataFolder);
    LoadVerifyAfterWrite();

    // A settings file that cannot be written is reported once; the settings then live in
    // memory for this session and start-up goes on.
    const InstalledSettings installed = InstallShippedFiles(
        ShippedFilesFolder(env.programFolder), applicationDataFolder, env.version.fileVersion);
    // A company's record may be named in the settings file that was just installed.
    record.inBackground = true;
    if (!env.practiceMode)
        record.server = env.journalServer.isEmpty() ? ConfiguredJournalServer(applicationDataFolder)
                                                    : env.journalServer;
    // The site of the last session goes on until another one is named.
    record.site = ReadRecentSites(settingsFilePath).value(0);
    Jobs().SetRecord(record);
    if (cbSite) cbSite->Refresh();
    if (!installed.refusedFile.isEmpty())
        prompts().ShowMessage(
            BoxKind::Error, 0,
            WriteSettingFailureText(installed.refusedFile, installed.refusedError), BoxButtons::Ok);

    defaultFolder = WithoutTrailingDelimiter(documentFolder);
    const QString commandLineFolder = CommandLineFolder(env.arguments);
    if (!commandLineFolder.isEmpty())
        defaultFolder = commandLineFolder;
    else if (!installed.configDirectory.isEmpty())
        defaultFolder = WithoutTrailingDelimiter(installed.configDirectory);

    LocaliseCaptions();
    BuildControlLists();
    if (pgMain && tbsGeneral) pgMain->setCurrentWidget(tbsGeneral);
    onNewTriggered(this);

    const QString commandLineFile = CommandLineFile(env.arguments);
    if (!commandLineFile.isEmpty()) LoadConfigurationFile(commandLineFile, LoadKind::CommandLine);
}

void MainWindow::FormShow() {
    // Centred on the screen; a screen narrower than the window gives a negative left edge.
    CentreOnScreen(this);
    // The application's name, not a display name: Qt appends a display name to every window
    // title that does not end with it, so the boxes would no longer read "Fehler" or
    // "Information" and the dialogs not "Öffnen" or "Wähle Standardverzeichnis".
    QApplication::setApplicationName(Text(Msg::ProgramName));
}

// Unsaved edits are asked about first; nothing is saved without an answer.
void MainWindow::onExitTriggered() {
    if (!ConfirmLosingEdits()) return;
    exitConfirmed_ = true;
    QApplication::quit();
}
