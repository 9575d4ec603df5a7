// Start-up and shutdown of the main window: folders, installed files, the default folder, the
// German captions, the v2.x template and a file named on the command line.

#include <QApplication>
#include <QTabWidget>

#include "app/catalogue.h"
#include "app/centring.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "files/filenames.h"
#include "files/settingsfile.h"
#include "files/startupsteps.h"

void TfrmMain::FormCreate() {
    setAcceptDrops(true);
    const AppEnvironment& env = environment();
    applicationDataFolder = FindApplicationDataFolder(env.commonDataFolder, env.programFolder);
    documentFolder = FindDocumentFolder(env.commonDocumentsFolder, env.programFolder);

    // Known before the settings file is first written, so that a window whose start-up ended at
    // a refused write still writes its default folder to the right file.
    settingsFilePath = SettingsFilePath(applicationDataFolder);

    // A refused write to the settings file ends start-up here, after its box: the window then
    // runs on as far as it got.
    QString failedSettingsFile;
    if (!InstallShippedFiles(ShippedFilesFolder(env.programFolder), applicationDataFolder,
                             env.version.fileVersion, &failedSettingsFile)) {
        prompts().ShowMessage(BoxKind::Error, 0, WriteSettingFailureText(failedSettingsFile),
                              BoxButtons::Ok);
        return;
    }

    defaultFolder = WithoutTrailingDelimiter(documentFolder);
    const QString commandLineFolder = CommandLineFolder(env.arguments);
    if (!commandLineFolder.isEmpty()) {
        defaultFolder = commandLineFolder;
    } else {
        const QString stored = ReadSetting(settingsFilePath, "Setup", "ConfigDirectory");
        if (!stored.isEmpty()) defaultFolder = WithoutTrailingDelimiter(stored);
    }

    LocaliseCaptions();
    BuildControlLists();
    if (pgMain && tbsGeneral) pgMain->setCurrentWidget(tbsGeneral);
    mnuFileNewClick(this);

    const QString commandLineFile = CommandLineFile(env.arguments);
    if (!commandLineFile.isEmpty()) LoadConfigurationFile(commandLineFile, LoadKind::CommandLine);
}

void TfrmMain::FormShow() {
    // Centred on the screen; a screen narrower than the window gives a negative left edge.
    CentreOnScreen(this);
    // The application's name, not a display name: Qt appends a display name to every window
    // title that does not end with it, so the boxes would no longer read "Fehler" or
    // "Information" and the dialogs not "Öffnen" or "Wähle Standardverzeichnis".
    QApplication::setApplicationName(Text(10000));
}

// Nothing is asked or saved at the end.
void TfrmMain::mnuFileExitClick() {
    QApplication::quit();
}
