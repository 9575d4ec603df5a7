// What the device jobs share: the wait for the button with its status poll, and the LPX's
// information text.

#include "link/devicejobs.h"

#include <QCoreApplication>

#include "config/savedimage.h"
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
    if (status.size() != 2) return 0;
    const int value = HexDigitValue(status[0]) * 16 + HexDigitValue(status[1]);
    for (const StatusOutcome& entry : kStatusOutcomes) {
        if (entry.status == value) return entry.outcome;
    }
    return 0;
}

std::optional<int> DeviceJobs::PollJobStatus(int kind) {
    std::string status;
    int result;
    switch (kind) {
        case PollWriteJob:
            result = adapter_.QueryWriteJobStatus(status);
            break;
        case PollReadJob:
            result = adapter_.QueryReadJobStatus(status);
            break;
        default:
            return std::nullopt;
    }
    jobStatusText = QString::fromStdString(status);
    if (adapter_.LineLost()) {
        StopPolling(true);
        return WaitLineLost;
    }
    if (result != LpxResultOk) return 0;
    return OutcomeOfJobStatus(status);
}

// WaitLineLost has been told to the user and has stopped the polling already; the job then
// only cleans up.
int DeviceJobs::RunWait(PollKind kind, const WaitTexts& texts, bool letMessagesRun) {
    pollTag = kind;
    WaitTexts shown = texts;
    shown.steps = steps_;
    const int outcome = host_.WaitForButton(kind, shown, letMessagesRun);
    if (outcome == WaitAborted) aborted_ = true;
    if (outcome == WaitLineLost) {
        StopPolling(true);
        ReportLineLost();
    }
    return outcome;
}

void DeviceJobs::StopPolling(bool clearTag) {
    if (clearTag) pollTag = PollNone;
    host_.StopPolling();
}

void DeviceJobs::Fail(FailureKind kind, int textId, const QStringList& args, const QString& cause) {
    if (outcome_.failure.kind == FailureKind::None) outcome_.failure = {kind, textId};
    if (textId != 0) ErrorBox(host_.JobMessages(), textId, args, cause);
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
    succeeded_ = true;
    if (textId != 0) Status(textId);
}

void DeviceJobs::Aborted(int statusId) {
    aborted_ = true;
    if (statusId != 0) Status(statusId);
}

void DeviceJobs::IdentificationEnded() {
    // A failure has said what happened; the user's cancel and a device without a code are told
    // as the cancel of the identification.
    if (aborted_) {
        Status(Msg::IdentifyAborted);
    } else if (outcome_.failure.kind == FailureKind::NoDeviceCode) {
        Status(Msg::IdentifyAborted);
    }
}

const JobOutcome& DeviceJobs::ReadDevice(const ReadRequest& request) {
    keepRead_ = request.keep;
    return Run(JournalJob::Read, request.file, true, [this] { ReadSteps(); });
}

const JobOutcome& DeviceJobs::WriteDevice(const WriteRequest& request) {
    return Run(JournalJob::Write, request.file, request.recordAbortBeforeDevice,
               [this, &request] { WriteSteps(request); });
}

const JobOutcome& DeviceJobs::ChangeRadioCode(const QString& code) {
    return Run(JournalJob::CodeChange, QString(), true,
               [this, &code] { ChangeRadioCodeSteps(code); });
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
const JobOutcome& DeviceJobs::Run(JournalJob job, const QString& file, bool recordAbortBeforeDevice,
                                  const std::function<void()>& steps) {
    static const char* const kJobNames[] = {"Lesen", "Schreiben", "Kennnummer"};
    const QString jobName = QString::fromLatin1(kJobNames[static_cast<int>(job)]);
    TraceNote(QStringLiteral("Beginn ") + jobName);
    outcome_ = JobOutcome();
    outcome_.job = job;
    succeeded_ = aborted_ = refused_ = false;
    steps_ = 2;
    running_ = job;
    steps();
    running_.reset();
    outcome_.end = EndOf(outcome_, refused_, succeeded_, aborted_);
    outcome_.userAborted = aborted_;
    if (outcome_.end == JobEnd::Failed && outcome_.failure.kind == FailureKind::None)
        outcome_.failure.kind = FailureKind::LpxRefused;  // the LPX failed without a word
    QString recordedFile = file;
    if (job == JournalJob::Read && outcome_.Succeeded() && keepRead_) {
        if (const int lostId = keepRead_(recordedFile)) {
            outcome_.end = JobEnd::Failed;
            outcome_.failure = {FailureKind::NotKept, lostId};
        }
    }
    // A read is recorded as the file Speichern writes right after it, so that restore gives
    // back those very bytes.
    if (job == JournalJob::Read && outcome_.read)
        outcome_.saved = SavedImageData(settings_, fileImage);
    keepRead_ = nullptr;
    const JournalEntry entry = JournalEntryOf(outcome_, journalProgram, recordedFile);
    TraceNote(QStringLiteral("Ende ") + jobName + QStringLiteral(": ") +
              JournalFields(entry)[ColOutcome] +
              (entry.codeBefore.isEmpty() ? QString() : QStringLiteral(", ") + entry.codeBefore));
    host_.JobEnded(outcome_);
    const bool waitingForDevice = outcome_.end == JobEnd::Aborted && outcome_.codeBefore.isEmpty();
    if (!outcome_.reachedLpx || outcome_.end == JobEnd::Refused ||
        (waitingForDevice && !recordAbortBeforeDevice))
        return outcome_;
    JournalEntry recorded = entry;
    recorded.time = QDateTime::currentDateTime();
    if (journalInBackground && !journalServer.isEmpty()) {
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
        journalSender_->Append({journalPath, journalServer}, recorded);
        return outcome_;
    }
    QString warning;
    AppendJournal({journalPath, journalServer}, recorded, &warning);
    if (!warning.isEmpty()) host_.ShowJournalWarning(warning);
    return outcome_;
}

QString ReadLpxInfoLine(LpxAdapter& adapter) {
    // With no LPX the adapter stays closed and the query fails after its one time-out.
    adapter.Open();
    std::string info;
    const int result = adapter.QueryLpxInfo(info);
    adapter.Close();
    return result == LpxResultOk ? "LPX info: " + QString::fromStdString(info) : QString();
}
