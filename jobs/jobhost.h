#pragma once
// What a device job needs of the program that runs it: the window (the job then runs on the
// window's job thread) or a terminal tool (on its main thread). The job calls its host from the
// thread it runs on; a window's host passes each call on to the window's thread.

#include <QByteArray>
#include <QString>

#include "config/image.h"
#include "config/messages.h"

struct JobOutcome;

// Where the shown configuration came from.
enum ConfigOrigin : int {
    OriginTemplate = 0,
    OriginOpenedFile = 1,
    OriginSavedFile = 2,
    OriginDevice = 3
};

// How a wait for the device's button ended. WaitLineLost: the converter went away during the
// wait.
enum WaitOutcome : int {
    WaitDone = 1,
    WaitFailed = 2,
    WaitAborted = 3,
    WaitTimedOut = 5,
    WaitLineLost = 6,
};

// Which job status a wait polls.
enum PollKind : int { PollWriteJob = 200, PollReadJob = 300 };

// The catalogue texts of a wait.
struct WaitTexts {
    int titleId;  // 0 keeps the title the caller set
    int headingId;
    int instructionId;
    int steps = 2;  // the waits of the job: 3 when a check follows the write
};

// The poll interval of a wait, in milliseconds.
constexpr int kPollIntervalMs = 500;

// A read's image as the host showed it in its view.
struct ReadShown {
    int decodeResult = -1;  // the decoder's answer: DecodeOk, DecodeBadProduct or an address
    QString productionDate;
    // The configuration as Speichern would write it now: what the record keeps.
    QByteArray saved;
};

class JobHost {
  public:
    virtual ~JobHost() = default;
    // Errors, information and questions of the jobs; each returns once the user answered.
    virtual Messages& JobMessages() = 0;
    // The status line: one text that replaces the previous one.
    virtual void ShowStatus(const QString& text) = 0;
    // The title of the coming waits.
    virtual void SetWaitTitle(const QString& title) = 0;
    // A wait for the device's button begins: shows its texts.
    virtual void WaitBegins(const WaitTexts& texts) = 0;
    // One poll interval of the wait passes (the host's strip and seconds go on): false, at once,
    // when the user aborted, before or during the interval.
    virtual bool PollInterval() = 0;
    // The wait is over: its texts go.
    virtual void WaitEnds() = 0;
    // The user ended the job outside a wait (a signal, the window closed): the next wait does
    // not begin.
    virtual bool AbortRequested() { return false; }
    // A read brought image from the device that carries code: the host shows it in its view.
    virtual ReadShown ShowRead(const QString& code, const ConfigImage& image) = 0;
    // The journal could not be written; the job itself went on as it would have.
    virtual void ShowJournalWarning(const QString& text) { ShowStatus(text); }
    // The identification starts a new attempt because the LPX reported the job failed or timed
    // out (textId tells which). The window's wait dialog just goes on waiting; a terminal, where
    // nobody sees the LPX's state, says why.
    virtual void ShowRetry(int textId) { (void)textId; }
    // A read, write or code change ended so; its messages have been shown.
    virtual void JobEnded(const JobOutcome& outcome) { (void)outcome; }
};
