#pragma once
// Ctrl+C in korbi-cli is the wait dialog's abort button: the handler only notes the signal
// (async-signal-safe), and the wait loop that sleeps on the note ends the wait as aborted, so
// that the job clears the LPX's list and closes the adapter on its usual path. Later signals
// (a second Ctrl+C, the second SIGHUP of a closed terminal) are noted the same way and never end
// the program before that path is through: the LPX's list emptied and the job's line written.

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
