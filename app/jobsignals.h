#pragma once
// SIGTERM, SIGHUP and SIGINT end the window as its Abbruch button ends a job: a running job's
// wait is aborted at once (the LPX's lists emptied, its line recorded as cancelled), then the
// event loop quits, and the program raises the signal again once its windows are gone, so that
// its exit status is the signal's. Without a running job the loop quits at once.

class QObject;
class WindowJobs;

// Catches the three signals for jobs, as long as owner lives; the handler only notes the signal.
void EndJobsOnSignals(WindowJobs& jobs, QObject* owner);
// The signal that ended the loop; 0 while none did.
int EndingSignal();
// Raises the ending signal again with its default action; returns when there was none.
void RaiseEndingSignal();
