#pragma once
// A line under the wait dialog for the technician who holds the button: which step of the job
// waits ("Schritt 1 von 2: Kennung lesen") and how many seconds it has waited; after 30 s
// without a press it reminds what to do. The dialog grows by the line; nothing in it moves.
// A screen reader hears the step and the reminder through the dialog, never the seconds.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QLabel;
class PressWaitDialog;

class WaitProgress : public QObject {
  public:
    explicit WaitProgress(PressWaitDialog* dialog);

    // A wait with this instruction begins, in a job of so many waits; the line counts until the
    // dialog closes.
    void Start(int instructionId, int steps);
    QString Line() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Tick();

    // The line without its seconds: what the dialog announces.
    QString Announced() const;

    PressWaitDialog* dialog_;
    QLabel* label_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    int stepId_ = 0;
};
