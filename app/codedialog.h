#pragma once
// CodeChangeDialog: gives a device a new radio ID code without touching its other settings. The
// dialog stays open for further changes until the user closes it.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowJobs;

class CodeChangeDialog : public QDialog {
    Q_OBJECT
  public:
    // The change starts a code change on jobs, unless another job runs.
    CodeChangeDialog(WindowJobs& jobs, QWidget* parent = nullptr);

    void FormShow();
    // The hexadecimal key filter: digits, A-F, a-f and the editing keys Ctrl+C, Backspace,
    // Ctrl+V and Ctrl+X pass; any other character is swallowed (key becomes null).
    static void onNewCodeKeyPress(QChar& key);
    void onChangeClicked();
    void onCloseClicked();

    QFrame* pnlChangeIdCode = nullptr;
    QLabel* lblNote = nullptr;
    QLabel* lblNewCode = nullptr;
    QLineEdit* edtNewCode = nullptr;
    QFrame* pnlDelimiter = nullptr;
    QPushButton* btnChange = nullptr;
    QPushButton* btnClose = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void FitNoteAboveTheCode();

    WindowJobs& jobs_;
};
