#pragma once
// TfrmAbout: Help > Info, with the program's version, contact lines and the LPX's info line.

#include <QDialog>

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
};
