#include "app/mainwindow.h"

void TfrmMain::mnuHelpAboutClick() {}
