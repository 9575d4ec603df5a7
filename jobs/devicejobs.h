#pragma once
// The device jobs: identify the device at the LPX, read it, write a configuration to it, change
// its radio ID code, and ask the LPX for its information text. Each job is one function that
// runs from its start to its end on the caller's thread (korbi-cli's main thread, the window's
// job thread), with values in and a JobOutcome out; the user is reached through a JobHost. No
// job works on the settings view: the caller makes the request from it and shows the outcome.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "config/image.h"
#include "jobs/codeguard.h"
#include "jobs/jobhost.h"
#include "jobs/joboutcome.h"
#include "link/lpxadapter.h"
#include "record/journal.h"
#include "record/journalsender.h"

class SettingsModel;
class LpxSession;
class ClaimedCode;

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
    // Where the device with a code is mounted, as a code list names it; for the record.
    std::function<QString(const QString& code)> roomOf;
    // The configuration as the write sends it, the radio ID code cells carrying newCode.
    ConfigImage image;
    // The code the device gets; empty: it keeps its own.
    QString newCode;
    // The catalogue id of the configuration's own check that failed; 0 when all passed.
    int settingsFailure = 0;
    // What the generation checks need to know of the configuration.
    bool usesGeneration2Settings = false;
    bool pressTimeFitsDelay = true;
    // Read the device back after a write that the LPX reported done, and compare.
    bool verify = false;
    // A new code that differs from the device's is confirmed by the user first; a series with a
    // code list was confirmed as a whole when it started.
    bool askCodeChange = true;
    // Asked once the device is known, before anything is sent to it: true refuses the device,
    // and the job ends as Refused without a record line.
    std::function<bool(const QString& code)> refuseDevice;
    // Asked next: the new code of the device, in place of newCode (a series gives a device
    // pressed again the code it gave it before).
    std::function<QString(const QString& device)> codeFor;
    // An abort before any device was identified is recorded; a series waiting for its next
    // device is no job on a device and records nothing.
    bool recordAbortBeforeDevice = true;
    // The new code was claimed already (a series reserves the codes of its list itself).
    bool codeClaimed = false;
};

struct CodeChangeRequest {
    QString code;  // as typed; sent as typed
};

// request with the configuration that the view shows, its new code included.
WriteRequest WriteRequestOf(const SettingsModel& view, WriteRequest request = {});
// The same write with another new code (a series hands each device its own).
void SetNewCode(WriteRequest& request, const QString& code);

// Where a job's line goes, and what a read's line keeps.
struct JobRecord {
    QString path;    // the local record; empty: no record at all, as in practice mode
    QString server;  // a company's server (postgresql://...); empty for the local record
    JournalProgram program = JournalProgram::Window;
    QString site;  // the customer's site every line names; empty when not given
    // Lines for a server are written on a thread of their own, and their warnings reach the host
    // later (the window: its thread never waits on the network).
    bool inBackground = false;
    JournalTarget Target() const { return {path, server}; }
};

// The outcome that a job status payload of two hexadecimal digits stands for; none while the job
// still waits (or the payload is not two characters).
std::optional<WaitOutcome> OutcomeOfJobStatus(const std::string& status);

// The LPX line of the About box: "LPX info: " and the LPX's text, or empty when the LPX did not
// answer. Opens and closes the adapter.
QString ReadLpxInfoLine(LpxAdapter& adapter);

// What becomes of a new radio ID code that the record shows on another device: the window asks,
// korbi-cli gives it again only with --reuse-code.
enum class CodeReuse { Ask, Allowed, Refused };

// The jobs on one LPX for one host, one at a time.
class DeviceJobs {
  public:
    DeviceJobs(LpxAdapter& adapter, JobHost& host);
    ~DeviceJobs();
    DeviceJobs(const DeviceJobs&) = delete;
    DeviceJobs& operator=(const DeviceJobs&) = delete;

    // Not while a job runs.
    void SetRecord(JobRecord record) {
        record_ = std::move(record);
        recordGuard_.reset();
    }
    const JobRecord& Record() const { return record_; }
    void SetCodeReuse(CodeReuse reuse) { reuse_ = reuse; }

    // Identifies the device whose button is pressed next: the outcome's codeBefore and
    // firmwareVersion, or an empty code when the user aborted or the LPX failed. No record line.
    JobOutcome Identify();
    // Identifies the device and reads its parameter memory; the host shows it.
    JobOutcome Read(const ReadRequest& request);
    // Identifies the device and writes the request's configuration to it.
    JobOutcome Write(const WriteRequest& request);
    // Gives the device the code: checks it, identifies the device, asks, changes and tells.
    JobOutcome ChangeCode(const CodeChangeRequest& request);
    // The LPX line of the About box: "LPX info: " and the LPX's text, or empty when the LPX did
    // not answer.
    QString LpxInfoLine();

    LpxAdapter& Adapter() { return adapter_; }

  private:
    struct Run;
    // The jobs' steps; each leaves what it found in run.
    void ReadSteps(Run& run);
    void WriteSteps(Run& run, WriteRequest request);
    void CodeChangeSteps(Run& run, const CodeChangeRequest& request);
    // Opens the LPX, checks its firmware and waits for the press that identifies a device: true
    // once one is known.
    bool IdentifyDevice(Run& run);
    bool TakeIdentificationRecord(Run& run, ConfigImage& image);
    void NoDeviceIdentified(Run& run, bool tellAbort);
    // Waits for the press; a lost line or the user's abort is noted in run.
    WaitOutcome AwaitPress(Run& run, PollKind kind, const WaitTexts& texts);
    void FetchRecords(Run& run, ConfigImage& image);
    // Reads a written device back and compares it with what was sent.
    void Check(Run& run, const ConfigImage& written, int generation, bool changeCode);
    // Claims code before it is sent: false when the job ends here.
    bool ClaimCode(Run& run, ClaimedCode& claim, const QString& device);
    // The guard over the record the jobs write to, made on first use.
    CodeGuard& RecordGuard();

    void Fail(Run& run, FailureKind kind, int textId, const QStringList& args = {},
              const QString& cause = {});
    void FailedPress(Run& run, WaitOutcome outcome, int failedId);
    bool ReportLineLost(Run& run);
    void LpxRefused(Run& run, int textId);
    void Status(int textId);
    // The job's end from what its steps found, the line recorded and the host told.
    JobOutcome Finish(Run& run, const QString& file, bool recordAbortBeforeDevice);
    void Record(const JournalEntry& entry);

    LpxAdapter& adapter_;
    JobHost& host_;
    JobRecord record_;
    // The sender's warnings reach the host while these jobs live.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
    std::unique_ptr<JournalSender> journalSender_;
    std::unique_ptr<CodeGuard> recordGuard_;
    CodeReuse reuse_ = CodeReuse::Ask;
};
