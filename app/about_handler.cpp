#include "app/about.h"
#include "app/mainwindow.h"

void TfrmMain::mnuHelpAboutClick() {
    if (!frmAbout) return;
    frmAbout->Configure(env_.programFolder, env_.siteConfigFolder, env_.version, env_.serialDriver);
    frmAbout->SetDataFolder(applicationDataFolder);
    frmAbout->exec();
}
