#pragma once
// What a device job needs of the program that runs it: the window, or a terminal tool. The job
// itself (link/devicejobs.h) talks to the LPX and works on the settings model; the host shows
// its status line and title, answers its messages and waits for the device's button.

#include <QString>

#include "config/messages.h"

struct JobOutcome;

// Where the shown configuration came from.
enum ConfigOrigin : int {
    OriginTemplate = 0,
    OriginOpenedFile = 1,
    OriginSavedFile = 2,
    OriginDevice = 3
};

// Outcomes of a wait for the device's button. WaitLineLost: the converter went away during the
// wait.
enum WaitOutcome : int {
    WaitDone = 1,
    WaitFailed = 2,
    WaitAborted = 3,
    WaitTimedOut = 5,
    WaitLineLost = 6,
};

// Which job status a wait polls (the Tag of the window's poll timer).
enum PollKind : int { PollNone = 0, PollWriteJob = 200, PollReadJob = 300 };

enum CodeChangeResult : int {
    CodeChangeDone = 0,
    CodeChangeNotDone = 1,
    CodeChangeFailed = 2,
    CodeChangeTimedOut = 3,
};

// The catalogue texts of a wait.
struct WaitTexts {
    int titleId;  // 0 keeps the title the caller set
    int headingId;
    int instructionId;
    int steps = 2;  // the waits of the job: 3 when a check follows the write
};

// The poll interval of a wait, in milliseconds.
constexpr int kPollIntervalMs = 500;

class JobHost {
  public:
    virtual ~JobHost() = default;
    // Errors, information and questions of the jobs.
    virtual Messages& JobMessages() = 0;
    // The status line: one text that replaces the previous one.
    virtual void ShowStatus(const QString& text) = 0;
    // The configuration shown now came from origin; the title follows it.
    virtual void ShowOrigin(int origin) = 0;
    // The title of the coming waits.
    virtual void SetWaitTitle(const QString& title) = 0;
    // A wait for the device's button begins: shows the texts and, every kPollIntervalMs, calls
    // DeviceJobs::PollTick, and DeviceJobs::Abort when the user ends the wait. Returns at once.
    virtual void WaitBegins(PollKind kind, const WaitTexts& texts) = 0;
    // The wait is over: polling stops and its texts go.
    virtual void WaitEnds() = 0;
    // The journal could not be written; the job itself went on as it would have.
    virtual void ShowJournalWarning(const QString& text) { ShowStatus(text); }
    // The identification starts a new attempt because the LPX reported the job failed or timed
    // out (textId tells which). The window's wait dialog just goes on waiting; a terminal, where
    // nobody sees the LPX's state, says why.
    virtual void ShowRetry(int textId) { (void)textId; }
    // A read, write or code change ended so; its messages have been shown.
    virtual void JobEnded(const JobOutcome& outcome) { (void)outcome; }
};
