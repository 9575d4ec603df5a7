#pragma once
// TfrmChangeCode: gives a device a new radio ID code without touching its other settings.

#include <QDialog>

class TfrmMain;

class TfrmChangeCode : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChangeCode(TfrmMain* main, QWidget* parent = nullptr);

private:
    TfrmMain* main_;
};
