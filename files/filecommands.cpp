#include "app/mainwindow.h"

void TfrmMain::mnuFileNewClick(QObject*) {}
void TfrmMain::mnuFileOpenClick() {}
void TfrmMain::mnuFileSaveClick() {}
void TfrmMain::mnuFileSaveAsClick() {}
void TfrmMain::mnuFileSelectDefaultFolderClick() {}
void TfrmMain::HandleDroppedFiles(const QStringList&) {}
void TfrmMain::LoadConfigurationFile(const QString&, LoadKind) {}
void TfrmMain::UpdateCaption() {}
