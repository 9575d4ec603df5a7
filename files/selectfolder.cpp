#include "files/selectfolder.h"

TfrmSelectDirectory::TfrmSelectDirectory(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSelectDirectory");
}
