// Hilfe: the About box and the manual.

#include <QDesktopServices>
#include <QUrl>

#include "app/about.h"
#include "app/mainwindow.h"
#include "app/manual.h"
#include "resources/catalogue.h"

void TfrmMain::mnuHelpAboutClick() {
    if (!frmAbout) return;
    frmAbout->Configure(env_.programFolder, env_.siteConfigFolder, env_.version, env_.serialDriver);
    frmAbout->SetDataFolder(applicationDataFolder);
    frmAbout->exec();
}

void TfrmMain::mnuHelpManualClick() {
    const QString path = ManualPath(env_.programFolder);
    if (!ManualExists(path)) {
        ErrorBox(Msg::ManualMissing, {path});
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ErrorBox(Msg::ManualNotShown, {path});
}
