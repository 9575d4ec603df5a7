// What the device jobs share: the wait for the button with its status poll, and the LPX's
// information text.

#include "link/devicejobs.h"

#include <QCoreApplication>

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
    const int outcome = host_.WaitForButton(kind, texts, letMessagesRun);
    if (outcome == WaitAborted) trace_.userAborted = true;
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

void DeviceJobs::Error(int textId, const QStringList& args, const QString& cause) {
    if (trace_.firstErrorId == 0) trace_.firstErrorId = textId;
    ErrorBox(host_.JobMessages(), textId, args, cause);
}

bool DeviceJobs::ReportLineLost() {
    if (!adapter_.LineLost()) return false;
    Error(Msg::LpxNotReachable, {}, Text(Msg::LpxLineLost));
    return true;
}

void DeviceJobs::Information(int textId, const QStringList& args) {
    trace_.informationIds << textId;
    InformationBox(host_.JobMessages(), textId, args);
}

void DeviceJobs::Status(int textId) {
    trace_.lastStatusId = textId;
    host_.ShowStatus(Text(textId));
}

void DeviceJobs::ReadDevice() {
    RunJournalled(JournalJob::Read, Msg::ReadDone, [this] { ReadSteps(); });
}

void DeviceJobs::WriteDevice() {
    RunJournalled(JournalJob::Write, Msg::WriteDone, [this] { WriteSteps(); });
}

void DeviceJobs::ChangeRadioCode(const QString& code) {
    RunJournalled(JournalJob::CodeChange, Msg::CodeChanged,
                  [this, &code] { ChangeRadioCodeSteps(code); });
}

// The one place where the jobs meet the journal: the line is made from what the job showed,
// so that the window's and the terminal's jobs are recorded alike.
void DeviceJobs::RunJournalled(JournalJob job, int successId, const std::function<void()>& steps) {
    static const char* const kJobNames[] = {"Lesen", "Schreiben", "Kennnummer"};
    const QString jobName = QString::fromLatin1(kJobNames[static_cast<int>(job)]);
    TraceNote(QStringLiteral("Beginn ") + jobName);
    trace_ = JobTrace();
    running_ = job;
    steps();
    running_.reset();
    const bool succeeded =
        trace_.written || trace_.lastStatusId == successId ||
        trace_.informationIds.contains(successId) ||
        (job == JournalJob::CodeChange && trace_.informationIds.contains(Msg::CodeAlreadySet));
    const int lostId = succeeded && job == JournalJob::Read && keepRead ? keepRead() : 0;
    JournalEntry entry;
    entry.job = job;
    entry.program = journalProgram;
    if (job != JournalJob::CodeChange) entry.fileName = journalFile;
    const bool identified = trace_.reachedLpx && !deviceRadioCode.isEmpty();
    if (identified) {
        entry.codeBefore = deviceRadioCode;
        entry.firmwareVersion = FirmwareVersionText(deviceFirmwareVersion);
    }
    entry.verifyOutcome = trace_.verifyOutcome;
    if (trace_.verifyOutcome == QString::fromUtf8(kVerifyFailedWord)) {
        entry.outcome = JournalOutcome::Failed;
        entry.messageId = Msg::VerifyMismatch;
    } else if (succeeded && lostId == 0) {
        entry.outcome = JournalOutcome::Ok;
    } else if (trace_.userAborted) {
        entry.outcome = JournalOutcome::Aborted;
    } else {
        entry.outcome = JournalOutcome::Failed;
        entry.messageId = lostId                     ? lostId
                          : trace_.firstErrorId != 0 ? trace_.firstErrorId
                                                     : trace_.lastStatusId;
    }
    entry.codeAfter =
        succeeded && !trace_.codeAfter.isEmpty() ? trace_.codeAfter : entry.codeBefore;
    // A read that fetched records journals what came, also when some blocks were missing.
    if (job == JournalJob::Read && identified &&
        (succeeded || entry.messageId == Msg::ConversionError ||
         entry.messageId == Msg::BadProduct)) {
        entry.productionDate = settings_.Text(Field::edtProductionDate);
        entry.sha256 = ImageSha256(readImage);
        entry.image = ImageData(readImage);
    }
    if (job == JournalJob::Write && succeeded) {
        entry.sha256 = ImageSha256(writeImage);
        entry.image = ImageData(writeImage);
    }
    if (!trace_.verifyOutcome.isEmpty() &&
        trace_.verifyOutcome != QString::fromUtf8(kNotVerifiedWord)) {
        entry.verifySha256 = ImageSha256(verifyImage);
        // What the device holds now: the blocks a write leaves alone are in it too.
        entry.image = ImageData(verifyImage);
    }
    lastJob = entry;
    TraceNote(QStringLiteral("Ende ") + jobName + QStringLiteral(": ") +
              JournalFields(entry)[ColOutcome] +
              (entry.codeBefore.isEmpty() ? QString() : QStringLiteral(", ") + entry.codeBefore));
    if (!trace_.reachedLpx) return;
    lastJob.time = QDateTime::currentDateTime();
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
        journalSender_->Append({journalPath, journalServer}, lastJob);
        return;
    }
    QString warning;
    AppendJournal({journalPath, journalServer}, lastJob, &warning);
    if (!warning.isEmpty()) host_.ShowJournalWarning(warning);
}

QString ReadLpxInfoLine(LpxAdapter& adapter) {
    // With no LPX the adapter stays closed and the query fails after its one time-out.
    adapter.Open();
    std::string info;
    const int result = adapter.QueryLpxInfo(info);
    adapter.Close();
    return result == LpxResultOk ? "LPX info: " + QString::fromStdString(info) : QString();
}
