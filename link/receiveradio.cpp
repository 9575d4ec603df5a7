#include "link/receiveradio.h"

TfrmReceiveRadio::TfrmReceiveRadio(QWidget* parent) : QDialog(parent) {
    setObjectName("frmReceiveRadio");
}
