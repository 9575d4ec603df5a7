// Device identification: a job for whichever device becomes active first, asking for the two
// bytes firmware type and version; the record's header carries the device's radio ID code.

#include "app/catalogue.h"
#include "link/jobwait.h"
#include "link/linkmessages.h"

namespace {

// The oldest LPX firmware that knows the commands the jobs use.
constexpr const char* kLpxFirmwareReference = "15-1";
constexpr const char* kAnyDevice = "FFFF";

// Fetches the identification record after a finished job. True when it names a K-ORBI (firmware
// type 0): the device's code and firmware version are then taken over.
bool TakeIdentificationRecord(TfrmMain& main, ConfigImage& image) {
    std::string text;
    ReadRecord record;
    if (main.adapter.FetchRecord(text) != LpxResultOk) return false;
    if (!ParseReadRecord(text, &record)) return false;
    StoreBlock(image, record.start, record.count, record.values, MarkFromDevice);
    if (!FieldPresent(image, Addr::FirmwareType, 2, MarkFromDevice)) return false;
    if (image.cells[Addr::FirmwareType].value != 0) return false;
    main.deviceFirmwareVersion = image.cells[Addr::FirmwareVersion].value;
    main.deviceRadioCode = QString::fromStdString(CodeToText(record.codeHigh, record.codeLow));
    return true;
}

}  // namespace

void TfrmMain::btnGetKorbiCodeClick() {
    deviceRadioCode.clear();
    if (adapter.Open() != 0) {
        ErrorBox(10805, {}, OpenFailureCause(adapter.LastOpenFailure()));
        adapter.Close();
        return;
    }
    if (adapter.CheckLpxFirmware(kLpxFirmwareReference) != LpxResultOk) {
        adapter.Close();
        if (!ReportLineLost(*this)) ErrorBox(10507);
        return;
    }
    if (adapter.EnterIdentifyMode() != LpxResultOk) {
        adapter.Close();
        return;
    }

    // Only the user's abort ends the identification without a device: a failed or timed-out
    // job, a missing record or another product starts a new attempt at once.
    ConfigImage image;
    bool settled = false;
    while (!settled) {
        adapter.RequestReadBlock("");
        adapter.RequestReadBlock(kIdentifyBlock);
        adapter.StartJob(kAnyDevice);
        ClearImage(image);
        const int outcome = RunWait(*this, PollReadJob, {0, 10872, 10502}, false);
        switch (outcome) {
            case WaitDone:
                settled = TakeIdentificationRecord(*this, image);
                break;
            case WaitAborted:
                pollTag = PollNone;
                SetStatusText(Text(10504));
                settled = true;
                break;
            case WaitLineLost:
                settled = true;
                break;
            case WaitFailed:
            case WaitTimedOut:
                pollTag = PollNone;
                break;
            default:
                break;
        }
        StopPolling(*this, false);
    }
    adapter.LeaveIdentifyMode();
    adapter.Close();
}
