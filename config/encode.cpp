#include "app/mainwindow.h"

int TfrmMain::EncodeConfigImage(ConfigImage&, uint8_t) { return -1; }
bool TfrmMain::UsesGeneration2Settings() const { return false; }
bool TfrmMain::PressTimeFitsDelay() const { return true; }
