// Device identification: a job for whichever device becomes active first, asking for the two
// bytes firmware type and version; the record's header carries the device's radio ID code.

#include "jobs/devicejobs.h"
#include "link/linkmessages.h"
#include "resources/catalogue.h"

namespace {

// The oldest LPX firmware that knows the commands the jobs use.
constexpr const char* kLpxFirmwareReference = "15-1";
constexpr const char* kAnyDevice = "FFFF";

}  // namespace

// Fetches the identification record after a finished job. True when it names a K-ORBI (firmware
// type 0): the device's code and firmware version are then taken over.
bool DeviceJobs::TakeIdentificationRecord(ConfigImage& image) {
    std::string text;
    ReadRecord record;
    if (adapter_.FetchRecord(text) != LpxResultOk) return false;
    if (!ParseReadRecord(text, &record)) return false;
    StoreBlock(image, record.start, record.count, record.values, MarkFromDevice);
    if (!FieldPresent(image, Addr::FirmwareType, 2, MarkFromDevice)) return false;
    if (image.cells[Addr::FirmwareType].value != 0) return false;
    job_->firmwareVersion = image.cells[Addr::FirmwareVersion].value;
    job_->deviceCode = QString::fromStdString(CodeToText(record.codeHigh, record.codeLow));
    return true;
}

void DeviceJobs::Identify() {
    job_->deviceCode.clear();
    outcome_.reachedLpx = true;
    if (session_->Open() != 0) {
        Fail(FailureKind::NoLpx, Msg::LpxNotReachable, {},
             OpenFailureCause(adapter_.LastOpenFailure()));
        session_->Close();
        Identified();
        return;
    }
    if (adapter_.CheckLpxFirmware(kLpxFirmwareReference) != LpxResultOk) {
        session_->Close();
        if (!ReportLineLost()) Fail(FailureKind::LpxFirmware, Msg::LpxFirmwareTooOld);
        Identified();
        return;
    }
    if (adapter_.EnterIdentifyMode() != LpxResultOk) {
        session_->Close();
        LpxRefused(0);
        Identified();
        return;
    }
    ArmIdentification();
}

// Only the user's abort ends the identification without a device: a failed or timed-out job, a
// missing record or another product starts a new attempt at once.
void DeviceJobs::ArmIdentification() {
    adapter_.RequestReadBlock("");
    adapter_.RequestReadBlock(kIdentifyBlock);
    adapter_.StartJob(kAnyDevice);
    ClearImage(job_->identification);
    AwaitPress(JobStep::Identify, PollReadJob, {0, Msg::WaitingForDevice, Msg::PressToIdentify});
}

void DeviceJobs::IdentificationAnswered(int outcome) {
    bool settled = false;
    switch (outcome) {
        case WaitDone:
            settled = TakeIdentificationRecord(job_->identification);
            // The empty code 0000 is no code a job can be started for.
            if (settled && job_->deviceCode.isEmpty() && outcome_.failure.kind == FailureKind::None)
                outcome_.failure = {FailureKind::NoDeviceCode, Msg::IdentifyAborted};
            break;
        case WaitAborted:
            Status(Msg::ReadAborted);
            settled = true;
            break;
        case WaitLineLost:
            settled = true;
            break;
        case WaitFailed:
        case WaitTimedOut:
            host_.ShowRetry(outcome == WaitFailed ? Msg::IdentifyRetryFailed
                                                  : Msg::IdentifyRetryTimedOut);
            break;
        default:
            break;
    }
    if (!settled) {
        ArmIdentification();
        return;
    }
    adapter_.LeaveIdentifyMode();
    session_->Close();
    if (!job_->deviceCode.isEmpty()) {
        outcome_.codeBefore = job_->deviceCode;
        outcome_.codeAfter = job_->deviceCode;
        outcome_.firmwareVersion = job_->firmwareVersion;
    }
    Identified();
}
