#include "app/about.h"

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) { setObjectName("frmAbout"); }
