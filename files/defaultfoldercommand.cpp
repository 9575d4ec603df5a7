// File > Select Default Folder: the folder in which the file dialogs start.

#include "app/mainwindow.h"
#include "app/prompts.h"
#include "files/selectfolder.h"
#include "files/settingsfile.h"

void TfrmMain::mnuFileSelectDefaultFolderClick() {
    if (!frmSelectDirectory) return;
    frmSelectDirectory->SetPrompts(&prompts());
    frmSelectDirectory->SetFolder(defaultFolder);
    if (frmSelectDirectory->exec() != QDialog::Accepted) return;
    // Taken as typed: an empty or missing folder is the user's choice.
    defaultFolder = frmSelectDirectory->GetFolder();
    int error = 0;
    if (!WriteSetting(settingsFilePath, "Setup", "ConfigDirectory", defaultFolder, &error))
        prompts().ShowMessage(BoxKind::Error, 0, WriteSettingFailureText(settingsFilePath, error),
                              BoxButtons::Ok);
}
