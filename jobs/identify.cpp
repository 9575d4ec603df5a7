// Device identification: a job for whichever device becomes active first, asking for the two
// bytes firmware type and version; the record's header carries the device's radio ID code.

#include "jobs/claimedcode.h"
#include "jobs/devicejobs.h"
#include "jobs/jobrun.h"
#include "jobs/recordcodeguard.h"
#include "link/linkmessages.h"
#include "resources/catalogue.h"

namespace {

// The oldest LPX firmware that knows the commands the jobs use.
constexpr const char* kLpxFirmwareReference = "15-1";
constexpr const char* kAnyDevice = "FFFF";

}  // namespace

// Fetches the identification record after a finished job. True when it names a K-ORBI (firmware
// type 0): the device's code and firmware version are then taken over.
bool DeviceJobs::TakeIdentificationRecord(Run& run, ConfigImage& image) {
    std::string text;
    ReadRecord record;
    if (run.lpx->FetchRecord(text) != LpxResultOk) return false;
    if (!ParseReadRecord(text, &record)) return false;
    StoreBlock(image, record.start, record.count, record.values, MarkFromDevice);
    if (!FieldPresent(image, Addr::FirmwareType, 2, MarkFromDevice)) return false;
    if (image.cells[Addr::FirmwareType].value != 0) return false;
    const QString code = QString::fromStdString(CodeToText(record.codeHigh, record.codeLow));
    // The empty code 0000 is no code a job can be started for.
    if (code.isEmpty()) {
        if (run.outcome.failure.kind == FailureKind::None)
            run.outcome.failure = {FailureKind::NoDeviceCode, Msg::IdentifyAborted};
        return true;
    }
    run.outcome.codeBefore = code;
    run.outcome.codeAfter = code;
    run.outcome.firmwareVersion = image.cells[Addr::FirmwareVersion].value;
    return true;
}

// Only the user's abort ends the identification without a device: a failed or timed-out job, a
// missing record or another product starts a new attempt at once. The LPX stays open for the
// job's next step.
bool DeviceJobs::IdentifyDevice(Run& run) {
    run.outcome.reachedLpx = true;
    if (run.lpx->Open() != LpxResultOk) {
        Fail(run, FailureKind::NoLpx, Msg::LpxNotReachable, {},
             OpenFailureCause(run.lpx->LastOpenFailure()));
        return false;
    }
    if (run.lpx->CheckLpxFirmware(kLpxFirmwareReference) != LpxResultOk) {
        if (!ReportLineLost(run)) Fail(run, FailureKind::LpxFirmware, Msg::LpxFirmwareTooOld);
        return false;
    }
    if (run.lpx->EnterIdentifyMode() != LpxResultOk) {
        LpxRefused(run, 0);
        return false;
    }
    bool settled = false;
    while (!settled) {
        // What the LPX answers here shows in the job status that the wait polls.
        NoteRefusal(*run.lpx, run.lpx->RequestReadBlock(""), "m");
        NoteRefusal(*run.lpx, run.lpx->RequestReadBlock(kIdentifyBlock), "m");
        NoteRefusal(*run.lpx, run.lpx->StartJob(kAnyDevice), "i");
        ConfigImage identification;
        const WaitOutcome outcome =
            AwaitPress(run, PollReadJob, {0, Msg::WaitingForDevice, Msg::PressToIdentify});
        switch (outcome) {
            case WaitDone:
                settled = TakeIdentificationRecord(run, identification);
                break;
            case WaitAborted:
                Status(Msg::ReadAborted);
                settled = true;
                break;
            case WaitFailed:
            case WaitTimedOut:
                host_.ShowRetry(outcome == WaitFailed ? Msg::IdentifyRetryFailed
                                                      : Msg::IdentifyRetryTimedOut);
                break;
            default:  // the line was lost
                settled = true;
                break;
        }
    }
    NoteRefusal(*run.lpx, run.lpx->LeaveIdentifyMode(), "s0");
    return !run.outcome.codeBefore.isEmpty();
}

// A failure has said what happened; the user's cancel (when the job tells it) and a device
// without a code are told as the cancel of the identification.
void DeviceJobs::NoDeviceIdentified(Run& run, bool tellAbort) {
    if ((tellAbort && run.outcome.userAborted) ||
        run.outcome.failure.kind == FailureKind::NoDeviceCode)
        Status(Msg::IdentifyAborted);
}

JobOutcome DeviceJobs::Identify() {
    Run run(JournalJob::Read);
    {
        LpxSession lpx(adapter_, host_);
        run.lpx = &lpx;
        IdentifyDevice(run);
    }
    return run.outcome;
}

// Claims the code the device is to get: a code the record shows on another device is given only
// when the user agrees (or agreed beforehand), one the guard refuses is not given at all.
bool DeviceJobs::ClaimCode(Run& run, ClaimedCode& claim, const QString& device) {
    CodeClaimAnswer answer = claim.Claim(device, false);
    if (answer.kind == CodeClaimAnswer::Kind::AskReuse) {
        if (reuse_ == CodeReuse::Allowed) {
            answer = claim.Claim(device, true);
        } else if (reuse_ == CodeReuse::Ask) {
            if (AskQuestion(host_.JobMessages(), Msg::CodeReuseQuestion, {answer.text},
                            BoxButtons::YesNoDefaultNo) != BoxAnswer::Yes ||
                host_.AbortRequested()) {
                // Declining is the user's choice, not a failure.
                run.outcome.userAborted = true;
                return false;
            }
            answer = claim.Claim(device, true);
        } else {
            answer.kind = CodeClaimAnswer::Kind::Refused;
            answer.text = FillText(Msg::CodeReuseNeedsOption, {answer.text});
        }
    }
    if (answer.kind == CodeClaimAnswer::Kind::Granted) {
        run.outcome.codeGivenAgain = claim.Reused();
        return true;
    }
    Fail(run, FailureKind::CodeTaken, Msg::CodeNotClaimed, {claim.Code()}, answer.text);
    return false;
}

CodeGuard& DeviceJobs::RecordGuard() {
    if (!recordGuard_) recordGuard_ = std::make_unique<RecordCodeGuard>(record_.Target());
    return *recordGuard_;
}
