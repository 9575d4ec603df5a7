// What the device jobs share: how a job fails, ends and is recorded, and the LPX's information
// text.

#include "jobs/devicejobs.h"

#include <QCoreApplication>
#include <cctype>

#include "jobs/jobrun.h"
#include "link/trace.h"
#include "record/journal.h"
#include "record/journalstore.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

struct StatusOutcome {
    int status;
    WaitOutcome outcome;
};
// Job status values that end a wait; every other value means the job still waits.
constexpr StatusOutcome kStatusOutcomes[] = {
    {0x03, WaitDone},
    {0x04, WaitFailed},
    {0x05, WaitTimedOut},
};

// The job's end from what its steps found, in this order: a refused device, a check that
// differs, the success, the user's abort, and else the failure.
JobEnd EndOf(const JobOutcome& outcome, bool refused, bool succeeded) {
    if (refused) return JobEnd::Refused;
    if (outcome.failure.kind == FailureKind::CheckDiffers) return JobEnd::Failed;
    if (succeeded) return JobEnd::Done;
    return outcome.userAborted ? JobEnd::Aborted : JobEnd::Failed;
}

}  // namespace

std::optional<WaitOutcome> OutcomeOfJobStatus(const std::string& status) {
    // A garbled byte must not pass for the digit 0 and end a wait that goes on.
    if (status.size() != 2 || !std::isxdigit(static_cast<unsigned char>(status[0])) ||
        !std::isxdigit(static_cast<unsigned char>(status[1])))
        return std::nullopt;
    const int value = HexDigitValue(status[0]) * 16 + HexDigitValue(status[1]);
    for (const StatusOutcome& entry : kStatusOutcomes) {
        if (entry.status == value) return entry.outcome;
    }
    return std::nullopt;
}

DeviceJobs::DeviceJobs(LpxAdapter& adapter, JobHost& host) : adapter_(adapter), host_(host) {}

DeviceJobs::~DeviceJobs() = default;

void DeviceJobs::Fail(Run& run, FailureKind kind, int textId, const QStringList& args,
                      const QString& cause) {
    if (run.outcome.failure.kind == FailureKind::None) run.outcome.failure = {kind, textId};
    if (textId != 0) ErrorBox(host_.JobMessages(), textId, args, cause);
}

void DeviceJobs::FailedPress(Run& run, WaitOutcome outcome, int failedId) {
    if (outcome == WaitFailed) Fail(run, FailureKind::Device, failedId);
    if (outcome == WaitTimedOut) Fail(run, FailureKind::Device, Msg::WaitTimedOutText);
}

// When the line to the LPX was lost during the job, tells the user that the connection broke
// off, in place of the message the failed command would give, and returns true.
bool DeviceJobs::ReportLineLost(Run& run) {
    if (!run.lpx->LineLost()) return false;
    Fail(run, FailureKind::NoLpx, Msg::LpxNotReachable, {}, Text(Msg::LpxLineLost));
    return true;
}

// The LPX refused a command that does not depend on the device; a lost line is told as such.
void DeviceJobs::LpxRefused(Run& run, int textId) {
    if (!ReportLineLost(run)) Fail(run, FailureKind::LpxRefused, textId);
}

void DeviceJobs::Status(int textId) {
    host_.ShowStatus(Text(textId));
}

WaitOutcome DeviceJobs::AwaitPress(Run& run, PollKind kind, const WaitTexts& texts) {
    WaitTexts shown = texts;
    shown.steps = run.steps;
    const WaitOutcome outcome = run.lpx->AwaitPress(kind, shown);
    if (outcome == WaitAborted) run.outcome.userAborted = true;
    if (outcome == WaitLineLost) ReportLineLost(run);
    return outcome;
}

// The one place where the jobs meet the journal: the line is made from the outcome, so that
// the window's and the terminal's jobs are recorded alike. The LPX is closed by now.
JobOutcome DeviceJobs::Finish(Run& run, const QString& file, bool recordAbortBeforeDevice) {
    JobOutcome& outcome = run.outcome;
    outcome.end = EndOf(outcome, run.refused, run.succeeded);
    if (outcome.end == JobEnd::Failed && outcome.failure.kind == FailureKind::None)
        outcome.failure.kind = FailureKind::LpxRefused;  // the LPX failed without a word
    const JournalEntry entry = JournalEntryOf(outcome, record_.program, file);
    TraceNote(QStringLiteral("Ende ") + QString::fromLatin1(JournalJobWord(outcome.job)) +
              QStringLiteral(": ") + JournalFields(entry)[ColOutcome] +
              (entry.codeBefore.isEmpty() ? QString() : QStringLiteral(", ") + entry.codeBefore));
    host_.JobEnded(outcome);
    const bool waitingForDevice = outcome.end == JobEnd::Aborted && outcome.codeBefore.isEmpty();
    const bool recorded = outcome.reachedLpx && outcome.end != JobEnd::Refused &&
                          (!waitingForDevice || recordAbortBeforeDevice);
    if (recorded) Record(entry);
    return outcome;
}

void DeviceJobs::Record(const JournalEntry& entry) {
    JournalEntry recorded = entry;
    recorded.time = QDateTime::currentDateTime();
    recorded.site = record_.site;
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

QString DeviceJobs::LpxInfoLine() {
    return ReadLpxInfoLine(adapter_);
}

QString ReadLpxInfoLine(LpxAdapter& adapter) {
    LpxResult result = adapter.Open();
    std::string info;
    // Without an LPX there is nothing to ask.
    if (result == LpxResultOk) result = adapter.QueryLpxInfo(info);
    adapter.Close();
    return result == LpxResultOk ? "LPX info: " + QString::fromStdString(info) : QString();
}
