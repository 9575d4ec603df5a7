#include "app/mainwindow.h"

int TfrmMain::DecodeConfigImage(const ConfigImage&, uint8_t) { return DecodeOk; }
void TfrmMain::EnableGeneration2Controls(const ConfigImage&) {}
