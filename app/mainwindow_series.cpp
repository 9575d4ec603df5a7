// The window's side of checking writes and of writing a series: the checkable menu entry kept
// in Values.ini, and the series dialog started from the Kommunikation menu.

#include <QAction>

#include "app/mainwindow.h"
#include "app/seriesdialog.h"
#include "app/sitefield.h"
#include "files/recentfiles.h"
#include "files/settingsfile.h"

namespace {

const QString kSetupSection = QStringLiteral("Setup");
// "1" ticked; a file without the key, from before the entry existed, reads as not ticked.
const QString kVerifyKey = QStringLiteral("VerifyAfterWrite");

}  // namespace

void MainWindow::LoadVerifyAfterWrite() {
    const bool ticked = ReadSetting(settingsFilePath, kSetupSection, kVerifyKey) == "1";
    verifyAfterWrite_ = ticked;
    if (mnuCommVerifyAfterWrite) mnuCommVerifyAfterWrite->setChecked(ticked);
}

void MainWindow::onVerifyAfterWriteTriggered() {
    const bool ticked = mnuCommVerifyAfterWrite->isChecked();
    verifyAfterWrite_ = ticked;
    // The choice holds for this session also when it cannot be kept for the next one.
    int error = 0;
    if (!WriteSetting(settingsFilePath, kSetupSection, kVerifyKey, ticked ? "1" : "0", &error))
        SetStatusText(WriteSettingFailureText(settingsFilePath, error));
}

void MainWindow::onWriteSeriesTriggered() {
    if (jobs_.Running()) return;
    SeriesDialog dialog(*this);
    dialog.exec();
}

void MainWindow::SetSite(const QString& site) {
    JobRecord record = jobs_.Record();
    const QString named = site.simplified();
    if (record.site == named) return;
    record.site = named;
    jobs_.SetRecord(record);
    RememberRecentSite(settingsFilePath, named);
    if (cbSite) cbSite->Refresh();
}

QString MainWindow::Site() const {
    return jobs_.Record().site;
}
