#pragma once
// Ctrl+C in korbi-cli is the wait dialog's abort button: the handler only notes the signal
// (async-signal-safe), and the wait loop that sleeps on the note ends the wait as aborted, so
// that the job clears the LPX's list and closes the adapter on its usual path. A second Ctrl+C
// ends the program at once.

// Catches SIGINT, SIGTERM and SIGHUP.
void InstallInterruptHandler();

// True once a signal came.
bool Interrupted();

// Sleeps up to ms milliseconds or until a signal comes (also one that came before); true when
// interrupted.
bool SleepUnlessInterrupted(int ms);

// The descriptor that becomes readable with the first signal, for a caller that also waits on
// other descriptors; -1 before InstallInterruptHandler.
int InterruptDescriptor();
