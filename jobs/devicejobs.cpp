// What the device jobs share: the wait for the button with its status poll, and the LPX's
// information text.

#include "jobs/devicejobs.h"

#include <QCoreApplication>
#include <cctype>

#include "config/savedimage.h"
#include "files/journal.h"
#include "files/journalstore.h"
#include "link/trace.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

struct StatusOutcome {
    int status;
    int outcome;
};
// Job status values that end a wait; every other value means the job still waits.
constexpr StatusOutcome kStatusOutcomes[] = {
    {0x03, WaitDone},
    {0x04, WaitFailed},
    {0x05, WaitTimedOut},
};

}  // namespace

int OutcomeOfJobStatus(const std::string& status) {
    // A garbled byte must not pass for the digit 0 and end a wait that goes on.
    if (status.size() != 2 || !std::isxdigit(static_cast<unsigned char>(status[0])) ||
        !std::isxdigit(static_cast<unsigned char>(status[1])))
        return 0;
    const int value = HexDigitValue(status[0]) * 16 + HexDigitValue(status[1]);
    for (const StatusOutcome& entry : kStatusOutcomes) {
        if (entry.status == value) return entry.outcome;
    }
    return 0;
}

DeviceJobs::DeviceJobs(SettingsModel& settings, LpxAdapter& adapter, JobHost& host)
    : settings_(settings), adapter_(adapter), host_(host) {}

// A job cut off by the end of its owner (the window closed during a wait) stops its wait; the
// session closes the LPX.
DeviceJobs::~DeviceJobs() {
    if (step_ != JobStep::Idle) host_.WaitEnds();
}

bool DeviceJobs::WriteRunning() const {
    return job_ && job_->kind == Kind::Write;
}

bool DeviceJobs::StartIdentify(JobEndedCall ended) {
    if (!Begin(Kind::Identify, std::move(ended))) return false;
    Identify();
    return true;
}

bool DeviceJobs::StartRead(ReadRequest request, JobEndedCall ended) {
    if (!Begin(Kind::Read, std::move(ended))) return false;
    job_->read = std::move(request);
    host_.ShowStatus(QString());
    host_.SetWaitTitle(Text(Msg::ReadTitle));
    Identify();
    return true;
}

bool DeviceJobs::StartWrite(WriteRequest request, JobEndedCall ended) {
    if (!Begin(Kind::Write, std::move(ended))) return false;
    job_->write = std::move(request);
    WriteBegins();
    return true;
}

bool DeviceJobs::StartCodeChange(const QString& code, JobEndedCall ended) {
    if (!Begin(Kind::CodeChange, std::move(ended))) return false;
    job_->newCode = code;
    CodeChangeBegins();
    return true;
}

// The identification closed the LPX before it handed over; the job's own step opens it again.
bool DeviceJobs::OpenAgain() {
    if (session_->Open() == 0) return true;
    session_->Close();
    LpxRefused(0);
    Finish();
    return false;
}

bool DeviceJobs::Begin(Kind kind, JobEndedCall ended) {
    if (job_) return false;
    job_ = std::make_unique<Job>();
    job_->kind = kind;
    job_->ended = std::move(ended);
    session_ = std::make_unique<AdapterSession>(adapter_);
    outcome_ = JobOutcome();
    if (job_->kind != Kind::Identify) {
        outcome_.job = job_->kind == Kind::Read    ? JournalJob::Read
                       : job_->kind == Kind::Write ? JournalJob::Write
                                                   : JournalJob::CodeChange;
        TraceNote(QStringLiteral("Beginn ") + QString::fromLatin1(JournalJobWord(outcome_.job)));
    }
    return true;
}

void DeviceJobs::AwaitPress(JobStep step, PollKind kind, const WaitTexts& texts) {
    step_ = step;
    polling_ = kind;
    // A line lost while the job was set up gets no wait that only a poll could end.
    if (adapter_.LineLost()) {
        Answer(WaitLineLost);
        return;
    }
    WaitTexts shown = texts;
    shown.steps = job_->steps;
    host_.WaitBegins(kind, shown);
}

void DeviceJobs::PollTick() {
    if (step_ == JobStep::Idle) return;
    std::string status;
    const int result = polling_ == PollWriteJob ? adapter_.QueryWriteJobStatus(status)
                                                : adapter_.QueryReadJobStatus(status);
    jobStatusText_ = QString::fromStdString(status);
    // Nothing will answer again on a lost line.
    if (adapter_.LineLost()) {
        Answer(WaitLineLost);
        return;
    }
    if (result != LpxResultOk) return;
    if (const int outcome = OutcomeOfJobStatus(status)) Answer(outcome);
}

void DeviceJobs::Abort() {
    if (step_ != JobStep::Idle) Answer(WaitAborted);
}

// Only a press of the same kind ends a wait that polls it; a wait ended any other way leaves no
// poll kind behind, so that a late tick asks the LPX nothing.
void DeviceJobs::Answer(int outcome) {
    const JobStep step = step_;
    step_ = JobStep::Idle;
    if (outcome != WaitDone) polling_ = PollNone;
    host_.WaitEnds();
    if (outcome == WaitAborted) job_->aborted = true;
    if (outcome == WaitLineLost) ReportLineLost();
    switch (step) {
        case JobStep::Identify:
            IdentificationAnswered(outcome);
            break;
        case JobStep::AwaitPress:
            // Each ends the job or waits again: job_ may be gone after it.
            if (job_->kind == Kind::Read)
                ReadAnswered(outcome);
            else if (job_->kind == Kind::Write)
                WriteAnswered(outcome);
            else
                CodeChangeAnswered(outcome);
            break;
        case JobStep::Check:
            CheckAnswered(outcome);
            break;
        case JobStep::Idle:
            break;
    }
}

void DeviceJobs::Fail(FailureKind kind, int textId, const QStringList& args, const QString& cause) {
    if (outcome_.failure.kind == FailureKind::None) outcome_.failure = {kind, textId};
    if (textId != 0) ErrorBox(host_.JobMessages(), textId, args, cause);
}

void DeviceJobs::FailedPress(int outcome, int failedId) {
    if (outcome == WaitFailed) Fail(FailureKind::Device, failedId);
    if (outcome == WaitTimedOut) Fail(FailureKind::Device, Msg::WaitTimedOutText);
}

bool DeviceJobs::ReportLineLost() {
    if (!adapter_.LineLost()) return false;
    Fail(FailureKind::NoLpx, Msg::LpxNotReachable, {}, Text(Msg::LpxLineLost));
    return true;
}

void DeviceJobs::LpxRefused(int textId) {
    if (!ReportLineLost()) Fail(FailureKind::LpxRefused, textId);
}

void DeviceJobs::Information(int textId, const QStringList& args) {
    InformationBox(host_.JobMessages(), textId, args);
}

void DeviceJobs::Status(int textId) {
    host_.ShowStatus(Text(textId));
}

void DeviceJobs::Succeed(int textId) {
    job_->succeeded = true;
    if (textId != 0) Status(textId);
}

void DeviceJobs::IdentificationEnded() {
    // A failure has said what happened; the user's cancel and a device without a code are told
    // as the cancel of the identification.
    if (job_->aborted || outcome_.failure.kind == FailureKind::NoDeviceCode)
        Status(Msg::IdentifyAborted);
    Finish();
}

void DeviceJobs::Identified() {
    switch (job_->kind) {
        case Kind::Identify:
            Finish();
            break;
        case Kind::Read:
            ReadIdentified();
            break;
        case Kind::Write:
            WriteIdentified();
            break;
        case Kind::CodeChange:
            CodeChangeIdentified();
            break;
    }
}

namespace {

// The job's end from what its steps found, in this order: a refused device, a check that
// differs, the success, the user's abort, and else the failure.
JobEnd EndOf(const JobOutcome& outcome, bool refused, bool succeeded, bool aborted) {
    if (refused) return JobEnd::Refused;
    if (outcome.failure.kind == FailureKind::CheckDiffers) return JobEnd::Failed;
    if (succeeded) return JobEnd::Done;
    return aborted ? JobEnd::Aborted : JobEnd::Failed;
}

}  // namespace

// The one place where the jobs meet the journal: the line is made from the outcome, so that
// the window's and the terminal's jobs are recorded alike.
void DeviceJobs::Finish() {
    // Whatever the steps left open is closed before anybody hears of the end.
    session_.reset();
    step_ = JobStep::Idle;
    polling_ = PollNone;
    const std::unique_ptr<Job> job = std::move(job_);
    if (job->kind == Kind::Identify) {
        if (job->ended) job->ended(outcome_);
        return;
    }
    outcome_.end = EndOf(outcome_, job->refused, job->succeeded, job->aborted);
    outcome_.userAborted = job->aborted;
    if (outcome_.end == JobEnd::Failed && outcome_.failure.kind == FailureKind::None)
        outcome_.failure.kind = FailureKind::LpxRefused;  // the LPX failed without a word
    const bool read = job->kind == Kind::Read;
    QString recordedFile = read ? job->read.file : job->write.file;
    if (job->kind == Kind::CodeChange) recordedFile.clear();
    if (read && outcome_.Succeeded() && job->read.keep) {
        if (const int lostId = job->read.keep(recordedFile)) {
            outcome_.end = JobEnd::Failed;
            outcome_.failure = {FailureKind::NotKept, lostId};
        }
    }
    // A read is recorded as the file Speichern writes right after it, so that restore gives
    // back those very bytes.
    if (read && outcome_.read) outcome_.saved = SavedImageData(settings_, record_.fileImage);
    const JournalEntry entry = JournalEntryOf(outcome_, record_.program, recordedFile);
    TraceNote(QStringLiteral("Ende ") + QString::fromLatin1(JournalJobWord(outcome_.job)) +
              QStringLiteral(": ") + JournalFields(entry)[ColOutcome] +
              (entry.codeBefore.isEmpty() ? QString() : QStringLiteral(", ") + entry.codeBefore));
    host_.JobEnded(outcome_);
    const bool waitingForDevice = outcome_.end == JobEnd::Aborted && outcome_.codeBefore.isEmpty();
    const bool recorded = outcome_.reachedLpx && outcome_.end != JobEnd::Refused &&
                          (!waitingForDevice || job->write.recordAbortBeforeDevice);
    if (recorded) Record(entry);
    // The caller may start the next job from here: it gets a copy, not this job's outcome.
    if (job->ended) {
        const JobOutcome ended = outcome_;
        job->ended(ended);
    }
}

void DeviceJobs::Record(const JournalEntry& entry) {
    JournalEntry recorded = entry;
    recorded.time = QDateTime::currentDateTime();
    if (record_.inBackground && !record_.server.isEmpty()) {
        if (!journalSender_) {
            const std::weak_ptr<char> alive = alive_;
            journalSender_ = std::make_unique<JournalSender>([this, alive](const QString& warning) {
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [this, alive, warning] {
                        if (alive.lock()) host_.ShowJournalWarning(warning);
                    },
                    Qt::QueuedConnection);
            });
        }
        journalSender_->Append(record_.Target(), recorded);
        return;
    }
    QString warning;
    AppendJournal(record_.Target(), recorded, &warning);
    if (!warning.isEmpty()) host_.ShowJournalWarning(warning);
}

const JobOutcome& RunToEnd(DeviceJobs& jobs, const std::function<bool()>& pause) {
    while (jobs.Step() != JobStep::Idle) {
        if (pause())
            jobs.PollTick();
        else
            jobs.Abort();
    }
    return jobs.LastOutcome();
}

QString ReadLpxInfoLine(LpxAdapter& adapter) {
    // With no LPX the adapter stays closed and the query fails after its one time-out.
    adapter.Open();
    std::string info;
    const int result = adapter.QueryLpxInfo(info);
    adapter.Close();
    return result == LpxResultOk ? "LPX info: " + QString::fromStdString(info) : QString();
}
