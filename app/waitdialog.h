#pragma once
// PressWaitDialog: the modal dialog in which every device job waits for the user to press the
// device's button, while the main window's poll timer asks the LPX for the job's status. The job
// closes it when the wait is over; the abort button (and Escape, and the window's close) is the
// only way the user can end it.

#include <QDialog>
#include <QPoint>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

class PressWaitDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PressWaitDialog(QWidget* parent = nullptr);

    void SetTitle(const QString& text);
    void SetHeading(const QString& text);
    // The instruction wraps within the left part of the group box, beside the picture.
    void SetInstruction(const QString& text);
    // Which device of a series the wait is for ("Gerät 3 von 20"); empty hides the line.
    void SetSeriesProgress(const QString& text);
    // The step of the job that waits, as a screen reader announces it ("Schritt 2 von 2: Lesen"),
    // without the seconds that the step line counts. A new step is said at once when the dialog
    // is open, and when it opens otherwise: the buttons, which hold the focus, describe it.
    void SetStep(const QString& step);
    // What came of the device before, in a series ("Gerät 2: ..."); it is said with the next step.
    // Empty says nothing.
    void SetLastResult(const QString& text);
    // The radio ID code a device of a series is about to get, shown large in a strip below the
    // rest with the room its list names under it; an empty code removes the strip.
    void SetSeriesCode(const QString& code, const QString& room = QString());

    // What the abort button does: ends the job's wait, which then closes the dialog.
    void SetAbort(std::function<void()> abort) { abort_ = std::move(abort); }

    void FormShow();
    void onAbortClicked();

    // Practice mode: one more button, "K-ORBI Taste drücken", that runs press (the button of the
    // simulated device in front of the LPX is pressed). The dialog has it only when this was
    // called.
    void AddPracticeButton(std::function<void()> press);
    void onPressKorbiClicked();

    QGroupBox* gbxReceiveRadio = nullptr;
    QLabel* imgTransmitter = nullptr;
    QLabel* lblAction = nullptr;
    QLabel* lblSeries = nullptr;      // only shown during a series
    QLabel* lblSeriesCode = nullptr;  // only while a series gives codes
    QPushButton* btbtnAbort = nullptr;
    QPushButton* btnPressKorbi = nullptr;  // practice mode only

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    // The buttons' description: the last result, the step and the series' device.
    void Describe();

    QString step_;
    QString lastResult_;
    std::function<void()> pressKorbi_;
    std::function<void()> abort_;
    int heightWithoutCode_ = 0;
    bool placed_ = false;  // shown before: lastPlace_ holds where it was
    QPoint lastPlace_;
};
