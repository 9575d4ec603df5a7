#include <QLabel>
#include <QStatusBar>

#include "app/mainwindow.h"

void TfrmMain::BuildLayout() {
    sbStatus = new QStatusBar(this);
    sbStatusText = new QLabel(sbStatus);
    sbStatus->addWidget(sbStatusText, 1);
    setStatusBar(sbStatus);
}
void TfrmMain::WireHandlers() {}
void TfrmMain::LocaliseCaptions() {}
void TfrmMain::BuildControlLists() {}
