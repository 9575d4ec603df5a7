// Device identification: a job for whichever device becomes active first, asking for the two
// bytes firmware type and version; the record's header carries the device's radio ID code.

#include "link/devicejobs.h"
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
    deviceFirmwareVersion = image.cells[Addr::FirmwareVersion].value;
    deviceRadioCode = QString::fromStdString(CodeToText(record.codeHigh, record.codeLow));
    return true;
}

void DeviceJobs::Identify() {
    deviceRadioCode.clear();
    outcome_.reachedLpx = true;
    if (adapter_.Open() != 0) {
        Fail(FailureKind::NoLpx, Msg::LpxNotReachable, {},
             OpenFailureCause(adapter_.LastOpenFailure()));
        adapter_.Close();
        return;
    }
    if (adapter_.CheckLpxFirmware(kLpxFirmwareReference) != LpxResultOk) {
        adapter_.Close();
        if (!ReportLineLost()) Fail(FailureKind::LpxFirmware, Msg::LpxFirmwareTooOld);
        return;
    }
    if (adapter_.EnterIdentifyMode() != LpxResultOk) {
        adapter_.Close();
        LpxRefused(0);
        return;
    }

    // Only the user's abort ends the identification without a device: a failed or timed-out
    // job, a missing record or another product starts a new attempt at once.
    ConfigImage image;
    bool settled = false;
    while (!settled) {
        adapter_.RequestReadBlock("");
        adapter_.RequestReadBlock(kIdentifyBlock);
        adapter_.StartJob(kAnyDevice);
        ClearImage(image);
        const int outcome =
            RunWait(PollReadJob, {0, Msg::WaitingForDevice, Msg::PressToIdentify}, false);
        switch (outcome) {
            case WaitDone:
                settled = TakeIdentificationRecord(image);
                // The empty code 0000 is no code a job can be started for.
                if (settled && deviceRadioCode.isEmpty() &&
                    outcome_.failure.kind == FailureKind::None)
                    outcome_.failure = {FailureKind::NoDeviceCode, Msg::IdentifyAborted};
                break;
            case WaitAborted:
                pollTag = PollNone;
                Status(Msg::ReadAborted);
                settled = true;
                break;
            case WaitLineLost:
                settled = true;
                break;
            case WaitFailed:
            case WaitTimedOut:
                pollTag = PollNone;
                host_.ShowRetry(outcome == WaitFailed ? Msg::IdentifyRetryFailed
                                                      : Msg::IdentifyRetryTimedOut);
                break;
            default:
                break;
        }
        StopPolling(false);
    }
    adapter_.LeaveIdentifyMode();
    adapter_.Close();
    if (!deviceRadioCode.isEmpty()) {
        outcome_.codeBefore = deviceRadioCode;
        outcome_.codeAfter = deviceRadioCode;
        outcome_.firmwareVersion = deviceFirmwareVersion;
    }
}
