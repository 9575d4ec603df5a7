#include <QApplication>

#include "app/mainwindow.h"

void TfrmMain::FormCreate() {
    LocaliseCaptions();
    BuildControlLists();
    mnuFileNewClick(this);
}

void TfrmMain::FormShow() {}

void TfrmMain::mnuFileExitClick() { QApplication::quit(); }
