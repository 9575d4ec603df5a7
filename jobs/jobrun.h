#pragma once
// What one job run has in hand while its steps go: the LPX held open, and what the steps found.
// Only the jobs' own files include this.

#include "jobs/devicejobs.h"
#include "jobs/lpxsession.h"

struct DeviceJobs::Run {
    explicit Run(JournalJob job) { outcome.job = job; }
    // The job's steps hold the LPX open; it is closed before the job's end is told.
    LpxSession* lpx = nullptr;
    JobOutcome outcome;
    int steps = 2;  // the waits of the job, for the wait's step strip
    bool succeeded = false;
    bool refused = false;
};

// The first refusal of a row of commands, or LpxResultOk.
inline LpxResult FirstRefusal(LpxResult sofar, LpxResult next) {
    return sofar != LpxResultOk ? sofar : next;
}

// A command whose answer changes nothing in the job's course: a refusal goes into the support
// trace, where a fault is looked for.
void NoteRefusal(const LpxSession& lpx, LpxResult result, const char* command);
