#pragma once
// What a finished device job did, as one value. The job shows its messages (errors, questions,
// the status line) through its host while it runs; what comes after the job is read from this
// value, never from which message happened to be shown on the way: korbi-cli's exit status, a
// series' counting, the record's line, and the codes and clean state the window's view takes.

#include <QString>
#include <QStringList>
#include <optional>

#include "config/image.h"
#include "record/journal.h"

enum class JobEnd {
    Done,     // the job did what was asked (a code change that was not needed included)
    Failed,   // see the failure
    Aborted,  // the user ended it: the wait's abort, Ctrl+C, or No to the code question
    Refused,  // the caller refused the identified device before anything was sent to it
};

// Why a job failed, in the terms that decide what may come next.
enum class FailureKind {
    None,
    Settings,      // the configuration's own checks, before any device is asked
    NoLpx,         // the LPX cannot be reached, or its line went away
    LpxFirmware,   // the LPX's firmware is too old for the jobs
    LpxRefused,    // the LPX did not take a command that does not depend on the device
    DeviceCheck,   // a check of the configuration against the device's generation
    NoDeviceCode,  // the device carries the empty radio ID code 0000
    Device,        // the device's job failed or timed out, or what it gave back is unusable
    NotKept,       // what was read could not be kept
    CheckDiffers,  // the check after the write found differences
    CodeTaken,     // the new radio ID code is another device's or station's, or cannot be claimed
};

struct JobFailure {
    FailureKind kind = FailureKind::None;
    int messageId = 0;  // the catalogue id the user was shown; 0 when nothing was shown
};

// The check after a write.
enum class CheckState {
    NotAsked,
    Passed,
    Differs,
    NotDone,  // asked for, but the device was not read back
};

struct JobOutcome {
    JournalJob job = JournalJob::Read;
    JobEnd end = JobEnd::Failed;
    JobFailure failure;
    // The user ended a wait or declined the code question, also the check's wait after a write
    // that was done.
    bool userAborted = false;
    // The LPX was asked for a device: the job counts as one in the record.
    bool reachedLpx = false;
    // The device as the identification found it; empty codes when none was identified.
    QString codeBefore;
    QString codeAfter;  // the code it carries after the job
    std::optional<uint8_t> firmwareVersion;
    QString productionDate;  // a read's, as the settings show it
    QString room;            // a write's, as its request named it
    // The LPX accepted the job that writes the device: from then on the device may hold what
    // was sent, whatever the job's end.
    bool writeStarted = false;
    // The LPX reported the write or the code change done.
    bool written = false;
    // The images of the job: what was sent, what a read brought, what the check read back.
    std::optional<ConfigImage> sent;
    std::optional<ConfigImage> read;
    std::optional<ConfigImage> readBack;
    // A read's configuration as Speichern writes it right after the read: what the record keeps.
    QByteArray saved;
    CheckState check = CheckState::NotAsked;
    // The new code is one the record shows on another device, given again as the user agreed.
    bool codeGivenAgain = false;
    QString checkedSha256;    // of the device as the check found it (CheckedImageSha256)
    QStringList differences;  // one line per differing cell when the check differs

    bool Succeeded() const { return end == JobEnd::Done; }
    // Written as asked, and checked when a check was asked for.
    bool Complete() const {
        return end == JobEnd::Done && check != CheckState::NotDone && check != CheckState::Differs;
    }
};

// A success line names the device: "K-ORBI 5D3E: Konfiguration wurde aktualisiert." The text
// keeps its wording after the program's name.
QString NameDevice(const QString& code, const QString& text);
// The codes of a device before and after a job: "5C03 → 2000", or the one code it kept.
QString CodesText(const JobOutcome& outcome);

// The record's line for the outcome; program and file are the caller's.
JournalEntry JournalEntryOf(const JobOutcome& outcome, JournalProgram program,
                            const QString& fileName);
