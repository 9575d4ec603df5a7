#pragma once
// TfrmSelectDirectory: the dialog of File > Select Default Folder.

#include <QDialog>

class TfrmSelectDirectory : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelectDirectory(QWidget* parent = nullptr);
};
