// Hilfe: the About box and the manual.

#include <QDesktopServices>
#include <QUrl>

#include "app/about.h"
#include "app/mainwindow.h"
#include "app/manual.h"
#include "resources/catalogue.h"

void MainWindow::onAboutTriggered() {
    if (!frmAbout) return;
    // The LPX is asked on the job thread; while a job runs the box shows no line.
    frmAbout->Configure(env_.programFolder, env_.siteConfigFolder, env_.version,
                        [this](std::function<void(const QString&)> told) {
                            auto line = std::make_shared<QString>();
                            jobs_.Run([line](DeviceJobs& jobs) { *line = jobs.LpxInfoLine(); },
                                      [line, told] { told(*line); });
                        });
    frmAbout->SetDataFolder(applicationDataFolder);
    frmAbout->exec();
}

void MainWindow::onManualTriggered() {
    const QString path = ManualPath(env_.programFolder);
    if (!ManualExists(path)) {
        ErrorBox(Msg::ManualMissing, {path});
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ErrorBox(Msg::ManualNotShown, {path});
}
