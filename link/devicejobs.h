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
#include "link/lpxadapter.h"

class DeviceJobs {
  public:
    DeviceJobs(SettingsModel& settings, LpxAdapter& adapter, JobHost& host)
        : settings_(settings), adapter_(adapter), host_(host) {}

    // Identifies the device whose button is pressed next: deviceRadioCode and
    // deviceFirmwareVersion, or an empty code when the user aborted or the LPX failed.
    void Identify();
    // The three jobs on a device. Each leaves its line in lastJob and, once it has asked the
    // LPX for a device, appends that line to the journal.
    // Identifies the device and reads its parameter memory into readImage and the settings.
    void ReadDevice();
    // Checks the settings, identifies the device and writes the settings to it.
    void WriteDevice();
    // Gives the device the code: checks it, identifies the device, asks, changes and tells.
    void ChangeRadioCode(const QString& code);
    // The job that writes newRadioCode to the device identified last (identifies one when none
    // is known); a CodeChangeResult.
    int ChangeDeviceRadioCode();

    // One poll of a wait: asks the LPX for the status of the job of kind and keeps its payload
    // in jobStatusText. The outcome, 0 while the job still waits or the LPX did not answer, and
    // nothing when kind names no job. A lost line ends the polling with WaitLineLost: nothing
    // will answer again.
    std::optional<int> PollJobStatus(int kind);

    // Whether the job running now is a write. Practice mode asks it when the trainee presses a
    // button: an identification cannot tell which job follows it.
    bool WriteRunning() const { return running_ == JournalJob::Write; }
    // Whether the user aborted a wait of the last job (also the check after a write).
    bool UserAborted() const { return trace_.userAborted; }

    // After a write that the LPX reported done, read the device back and compare what the write
    // sent (verifyImage holds what came back).
    bool verifyAfterWrite = false;
    // A new code that differs from the device's is confirmed by the user first; a series with a
    // code list was confirmed as a whole when it started.
    bool askCodeChange = true;

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

    // The journal: its path (empty: no journal, as in practice mode), the program that runs the
    // jobs, and the configuration file the next job works with (empty for none).
    QString journalPath;
    QString journalServer;  // a company's server (postgresql://...); empty for the local record
    JournalProgram journalProgram = JournalProgram::Window;
    QString journalFile;
    // Lines for a server are written on a thread of their own, and their warnings reach the host
    // later (the window: its thread never waits on the network).
    bool journalInBackground = false;
    // Asked after a read that succeeded, before its line is journalled, to keep what was read
    // (korbi-cli saves it to a file): 0, or the catalogue id of the failure that lost it, and
    // the line then says the read failed.
    std::function<int()> keepRead;
    // The line of the last read, write or code change (its time is left invalid when the job
    // never reached the LPX, and then it is not journalled).
    JournalEntry lastJob;

  private:
    // What a job showed on its way, from which its journal line is made.
    struct JobTrace {
        bool reachedLpx = false;
        bool userAborted = false;
        int firstErrorId = 0;
        int lastStatusId = 0;
        QList<int> informationIds;
        QString codeAfter;      // the code a confirmed change gives the device
        bool written = false;   // the LPX reported the write done
        QString verifyOutcome;  // one of the journal's verify words, empty without a verify
    };
    void ReadSteps();
    void WriteSteps();
    void ChangeRadioCodeSteps(const QString& code);
    // Reads the written device back with the read plan of its generation and compares every
    // cell that the write plan sent; the adapter is open and the write list emptied.
    void VerifySteps(int generation, bool changeCode, const QString& code);
    void VerifyNotDone(const QString& cause, bool asError);
    // Runs the steps of a job and records how it ended; successId is the status or information
    // text that only a successful end shows.
    void RunJournalled(JournalJob job, int successId, const std::function<void()>& steps);
    void Status(int textId);

    int RunWait(PollKind kind, const WaitTexts& texts, bool letMessagesRun);
    void StopPolling(bool clearTag);
    bool TakeIdentificationRecord(ConfigImage& image);
    void FetchRecords(ConfigImage& image);
    void ShowReadImage();
    void Error(int textId, const QStringList& args = {}, const QString& cause = {});
    // When the line to the LPX was lost during the job, tells the user that the connection
    // broke off, in place of the message the failed command would give, and returns true.
    bool ReportLineLost();
    void Information(int textId, const QStringList& args = {});

    SettingsModel& settings_;
    LpxAdapter& adapter_;
    JobHost& host_;
    JobTrace trace_;
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
