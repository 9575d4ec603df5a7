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
#include "jobs/lpxsession.h"
#include "jobs/jobhost.h"
#include "jobs/joboutcome.h"
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

// Where a job's line goes, and what a read's line keeps.
struct JobRecord {
    QString path;    // the local record; empty: no record at all, as in practice mode
    QString server;  // a company's server (postgresql://...); empty for the local record
    JournalProgram program = JournalProgram::Window;
    // The file image that Speichern encodes the view onto: a read's line keeps the bytes that
    // a save right after the read writes.
    const ConfigImage* fileImage = nullptr;
    // Lines for a server are written on a thread of their own, and their warnings reach the host
    // later (the window: its thread never waits on the network).
    bool inBackground = false;
    JournalTarget Target() const { return {path, server}; }
};

// What a running job is doing now: waiting for the press that identifies the device, for the
// press that reads, writes or re-codes it, or for the press that reads a written device back.
// Everything in between (the exchanges with the LPX, the questions) happens at once when the
// event that leads there arrives.
enum class JobStep { Idle, Identify, AwaitPress, Check };

// Told once when a started job has ended, after the host has been told.
using JobEndedCall = std::function<void(const JobOutcome&)>;

// One device job at a time, as a state object: a Start call runs the job up to its first wait
// for a press and returns; from then on the job is advanced by PollTick (each poll interval,
// which also finds a lost line) and Abort (the user's), until it ends and tells its outcome.
class DeviceJobs {
  public:
    DeviceJobs(SettingsModel& settings, LpxAdapter& adapter, JobHost& host);
    ~DeviceJobs();
    DeviceJobs(const DeviceJobs&) = delete;
    DeviceJobs& operator=(const DeviceJobs&) = delete;

    void SetRecord(JobRecord record) { record_ = std::move(record); }
    const JobRecord& Record() const { return record_; }

    // Each returns false, and does nothing, while another job runs.
    // Identifies the device whose button is pressed next: the outcome's codeBefore and
    // firmwareVersion, or an empty code when the user aborted or the LPX failed. No record line.
    bool StartIdentify(JobEndedCall ended = {});
    // Identifies the device and reads its parameter memory into the settings.
    bool StartRead(ReadRequest request = {}, JobEndedCall ended = {});
    // Checks the settings, identifies the device and writes the settings to it.
    bool StartWrite(WriteRequest request = {}, JobEndedCall ended = {});
    // Gives the device the code: checks it, identifies the device, asks, changes and tells.
    bool StartCodeChange(const QString& code, JobEndedCall ended = {});

    // The poll interval of a wait has passed: asks the LPX for the status of the job it waits
    // for, and goes on when the status ends the wait or the line is gone.
    void PollTick();
    // The user ended the wait.
    void Abort();

    bool Running() const { return job_ != nullptr; }
    JobStep Step() const { return step_; }
    // The job status that the wait polls; PollNone between waits.
    PollKind Polling() const { return polling_; }
    // The payload of the last status poll.
    const QString& JobStatusText() const { return jobStatusText_; }
    // Whether the job running now is a write. Practice mode asks it when the trainee presses a
    // button: an identification cannot tell which job follows it.
    bool WriteRunning() const;
    // The outcome of the last job.
    const JobOutcome& LastOutcome() const { return outcome_; }

  private:
    enum class Kind { Identify, Read, Write, CodeChange };
    // What a job was asked and what its steps have found so far.
    struct Job {
        Kind kind = Kind::Identify;
        ReadRequest read;
        WriteRequest write;
        QString newCode;  // of a code change
        JobEndedCall ended;
        // Finish makes the job's end from these.
        bool succeeded = false;
        bool aborted = false;
        bool refused = false;
        int steps = 2;  // the waits of the job, for the wait's step strip
        // The device the identification found.
        QString deviceCode;
        uint8_t firmwareVersion = 0;
        ConfigImage identification;
        ConfigImage readImage;
        ConfigImage writeImage;
        ConfigImage checkImage;
        // An encoding error of the settings is told once the device is known: the code question
        // comes first.
        int encodeResult = DecodeOk;
        int generation = 0;
        bool changeCode = false;
        QString codeAfter;
    };

    bool Begin(Kind kind, JobEndedCall ended);
    // Opens the LPX for the job's step after the identification; false when the job ended.
    bool OpenAgain();
    // Ends the job: its end from what the steps found, the read kept, the line recorded, and the
    // host and the caller told.
    void Finish();
    // Waits for a press: the host shows texts and polls kind until the wait is answered.
    void AwaitPress(JobStep step, PollKind kind, const WaitTexts& texts);
    // The wait ended with a WaitOutcome; the step that waited goes on.
    void Answer(int outcome);

    void Identify();
    void ArmIdentification();
    void IdentificationAnswered(int outcome);
    void Identified();
    // After an identification that found no device: the job ends as the identification did.
    void IdentificationEnded();

    void ReadIdentified();
    void ReadAnswered(int outcome);
    void WriteBegins();
    void WriteIdentified();
    void WriteAnswered(int outcome);
    void WriteEnds();
    void CodeChangeBegins();
    void CodeChangeIdentified();
    void CodeChangeAnswered(int outcome);
    // Reads the written device back with the read plan of its generation; the adapter is open
    // and the write list emptied.
    void CheckBegins();
    void CheckAnswered(int outcome);
    void CheckNotDone(const QString& cause, bool asError);
    // Compares every cell that the write sent with what came back.
    void Compare();

    // The job ends in failure of kind; shows textId as an error box unless it is 0. Only the
    // first failure of a job counts.
    void Fail(FailureKind kind, int textId, const QStringList& args = {},
              const QString& cause = {});
    // The device's job behind a press failed (failedId) or timed out; other outcomes pass.
    void FailedPress(int outcome, int failedId);
    // The job ends in success; shows textId in the status line unless it is 0.
    void Succeed(int textId);
    void Status(int textId);
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
    void Record(const JournalEntry& entry);

    SettingsModel& settings_;
    LpxAdapter& adapter_;
    JobHost& host_;
    JobRecord record_;
    std::unique_ptr<Job> job_;
    std::unique_ptr<AdapterSession> session_;
    JobStep step_ = JobStep::Idle;
    PollKind polling_ = PollNone;
    QString jobStatusText_;
    JobOutcome outcome_;
    // The sender's warnings reach the host on the thread of the jobs while these jobs live.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
    std::unique_ptr<JournalSender> journalSender_;
};

// Runs the job that was just started to its end on a thread that may block, as a terminal tool
// and tests do: pause waits one poll interval and returns false when the user aborts.
const JobOutcome& RunToEnd(DeviceJobs& jobs, const std::function<bool()>& pause);

// The outcome that a job status payload of two hexadecimal digits stands for; 0 while the job
// still waits (or the payload is not two characters).
int OutcomeOfJobStatus(const std::string& status);

// The LPX line of the About box: "LPX info: " and the LPX's text, or empty when the LPX did not
// answer. Opens and closes the adapter.
QString ReadLpxInfoLine(LpxAdapter& adapter);
