#pragma once
// The wait for the device's button that every job goes through: the status poll timer runs
// while the wait dialog is shown modally, and the dialog's result tells how the wait ended.

#include "app/mainwindow.h"

struct WaitTexts {
    int titleId;  // 0 keeps the title the caller set
    int headingId;
    int instructionId;
};

// Starts the poll timer for kind (500 ms), sets the dialog's texts, lets pending window
// messages run when letMessagesRun is set, and shows the dialog modally. Returns its result, a
// WaitOutcome (WaitAborted when there is no dialog to wait in). WaitLineLost has been told to
// the user and has stopped the polling already; the job then only cleans up.
int RunWait(TfrmMain& main, PollKind kind, const WaitTexts& texts, bool letMessagesRun);

// Ends the status polling after a wait: clears the poll kind when clearTag is set, and stops
// the timer.
void StopPolling(TfrmMain& main, bool clearTag);

// The outcome that a job status payload of two hexadecimal digits stands for; 0 while the job
// still waits (or the payload is not two characters).
int OutcomeOfJobStatus(const std::string& status);
