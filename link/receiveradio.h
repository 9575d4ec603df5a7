#pragma once
// TfrmReceiveRadio: the modal dialog in which every device job waits for the user to press the
// device's button, while the main window's poll timer asks the LPX for the job's status.

#include <QDialog>

class TfrmReceiveRadio : public QDialog {
    Q_OBJECT
public:
    explicit TfrmReceiveRadio(QWidget* parent = nullptr);
};
