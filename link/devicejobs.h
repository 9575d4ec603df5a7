#pragma once
// The device jobs: identify the device at the LPX, read it into the settings, write the
// settings to it, change its radio ID code, and ask the LPX for its information text. They
// need no window: they work on the settings model, the images and the adapter, and reach the
// user through a JobHost.

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "config/image.h"
#include "config/settingsmodel.h"
#include "files/journal.h"
#include "files/journalsender.h"
#include "link/jobhost.h"
#include "link/joboutcome.h"
#include "link/lpxadapter.h"

// What a read is asked to do besides reading.
struct ReadRequest {
    QString file;  // the configuration file the read goes to, for the record; empty for none
    // Asked after a read that succeeded, before its line is recorded, to keep what was read
    // (korbi-cli saves it to a file and may name another file): 0, or the catalogue id of the
    // failure that lost it, and the read then failed.
    std::function<int(QString& file)> keep;
};

struct WriteRequest {
    QString file;  // the configuration file written, for the record; empty for none
    // Read the device back after a write that the LPX reported done, and compare.
    bool verify = false;
    // A new code that differs from the device's is confirmed by the user first; a series with a
    // code list was confirmed as a whole when it started.
    bool askCodeChange = true;
    // Asked once the device is known, before anything is sent to it: true refuses the device,
    // and the job ends as Refused without a record line.
    std::function<bool(const QString& code)> refuseDevice;
    // An abort before any device was identified is recorded; a series waiting for its next
    // device is no job on a device and records nothing.
    bool recordAbortBeforeDevice = true;
};

class DeviceJobs {
  public:
    DeviceJobs(SettingsModel& settings, LpxAdapter& adapter, JobHost& host)
        : settings_(settings), adapter_(adapter), host_(host) {}

    // Identifies the device whose button is pressed next: deviceRadioCode and
    // deviceFirmwareVersion, or an empty code when the user aborted or the LPX failed.
    void Identify();
    // The three jobs on a device. Each returns what happened and, once it has asked the LPX
    // for a device, records it in the journal.
    // Identifies the device and reads its parameter memory into readImage and the settings.
    const JobOutcome& ReadDevice(const ReadRequest& request = {});
    // Checks the settings, identifies the device and writes the settings to it.
    const JobOutcome& WriteDevice(const WriteRequest& request = {});
    // Gives the device the code: checks it, identifies the device, asks, changes and tells.
    const JobOutcome& ChangeRadioCode(const QString& code);
    // The job that writes newRadioCode to the device identified last (identifies one when none
    // is known); a CodeChangeResult.
    int ChangeDeviceRadioCode();
    // The outcome of the last read, write or code change.
    const JobOutcome& LastOutcome() const { return outcome_; }

    // One poll of a wait: asks the LPX for the status of the job of kind and keeps its payload
    // in jobStatusText. The outcome, 0 while the job still waits or the LPX did not answer, and
    // nothing when kind names no job. A lost line ends the polling with WaitLineLost: nothing
    // will answer again.
    std::optional<int> PollJobStatus(int kind);

    // Whether the job running now is a write. Practice mode asks it when the trainee presses a
    // button: an identification cannot tell which job follows it.
    bool WriteRunning() const { return running_ == JournalJob::Write; }

    // Device images and the results of the last identification.
    ConfigImage readImage;
    ConfigImage writeImage;
    ConfigImage verifyImage;
    QString deviceRadioCode;
    uint8_t deviceFirmwareVersion = 0;
    QString newRadioCode;
    // The kind of job status polled now, PollNone between waits.
    int pollTag = PollNone;
    QString jobStatusText;

    // The journal: its path (empty: no journal, as in practice mode) and the program that runs
    // the jobs.
    QString journalPath;
    QString journalServer;  // a company's server (postgresql://...); empty for the local record
    JournalProgram journalProgram = JournalProgram::Window;
    // The file image that Speichern encodes the view onto: a read's line keeps the bytes that
    // a save right after the read writes.
    const ConfigImage* fileImage = nullptr;
    // Lines for a server are written on a thread of their own, and their warnings reach the host
    // later (the window: its thread never waits on the network).
    bool journalInBackground = false;

  private:
    void ReadSteps();
    void WriteSteps(const WriteRequest& request);
    void ChangeRadioCodeSteps(const QString& code);
    // Reads the written device back with the read plan of its generation and compares every
    // cell that the write plan sent; the adapter is open and the write list emptied.
    void VerifySteps(int generation, bool changeCode, const QString& code);
    void VerifyNotDone(const QString& cause, bool asError);
    // Starts the outcome of a job, runs its steps and records the outcome.
    const JobOutcome& Run(JournalJob job, const QString& file, bool recordAbortBeforeDevice,
                          const std::function<void()>& steps);
    // The job ends in failure of kind; shows textId as an error box unless it is 0. Only the
    // first failure of a job counts.
    void Fail(FailureKind kind, int textId, const QStringList& args = {},
              const QString& cause = {});
    // The job ends in success; shows textId in the status line unless it is 0.
    void Succeed(int textId);
    void Aborted(int statusId);
    // After an identification that found no device: the job ends as the identification did.
    void IdentificationEnded();
    void Status(int textId);

    int RunWait(PollKind kind, const WaitTexts& texts, bool letMessagesRun);
    void StopPolling(bool clearTag);
    bool TakeIdentificationRecord(ConfigImage& image);
    void FetchRecords(ConfigImage& image);
    void ShowReadImage();
    // When the line to the LPX was lost during the job, tells the user that the connection
    // broke off, in place of the message the failed command would give, and returns true.
    bool ReportLineLost();
    // The LPX refused a command that does not depend on the device; a lost line is told as
    // such.
    void LpxRefused(int textId);
    void Information(int textId, const QStringList& args = {});

    SettingsModel& settings_;
    LpxAdapter& adapter_;
    JobHost& host_;
    JobOutcome outcome_;
    // What the steps found; Run makes the job's end from them.
    bool succeeded_ = false;
    bool aborted_ = false;
    bool refused_ = false;
    int steps_ = 2;  // the waits of the job running now
    std::function<int(QString&)> keepRead_;
    std::optional<JournalJob> running_;
    // The sender's warnings reach the host on the thread of the jobs while these jobs live.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
    std::unique_ptr<JournalSender> journalSender_;
};

// The outcome that a job status payload of two hexadecimal digits stands for; 0 while the job
// still waits (or the payload is not two characters).
int OutcomeOfJobStatus(const std::string& status);

// The LPX line of the About box: "LPX info: " and the LPX's text, or empty when the LPX did not
// answer. Opens and closes the adapter.
QString ReadLpxInfoLine(LpxAdapter& adapter);
