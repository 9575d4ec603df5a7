#include "app/mainwindow.h"

void TfrmMain::btnReadFromDeviceClick() {}
void TfrmMain::btnWriteToDeviceClick() {}
void TfrmMain::btnGetKorbiCodeClick() {}
void TfrmMain::mnuCommReadFromDeviceClick() { btnReadFromDeviceClick(); }
void TfrmMain::mnuCommWriteToDeviceClick() { btnWriteToDeviceClick(); }
void TfrmMain::mnuCommChangeIdCodeClick() {}
int TfrmMain::ChangeDeviceRadioCode() { return CodeChangeNotDone; }
void TfrmMain::tmrPollLpxInfoTimer() {}
void TfrmMain::tmrPollLpxTimer() {}
