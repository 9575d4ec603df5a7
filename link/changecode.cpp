#include "link/changecode.h"

TfrmChangeCode::TfrmChangeCode(TfrmMain* main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName("frmChangeCode");
}
