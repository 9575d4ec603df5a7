// What the device jobs share: the wait for the button with its status poll, and the LPX's
// information text.

#include "link/devicejobs.h"

#include "resources/catalogue.h"

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
    ErrorBox(host_.JobMessages(), textId, args, cause);
}

bool DeviceJobs::ReportLineLost() {
    if (!adapter_.LineLost()) return false;
    Error(Msg::LpxNotReachable, {}, Text(Msg::LpxLineLost));
    return true;
}

void DeviceJobs::Information(int textId, const QStringList& args) {
    InformationBox(host_.JobMessages(), textId, args);
}

QString ReadLpxInfoLine(LpxAdapter& adapter) {
    // With no LPX the adapter stays closed and the query fails after its one time-out.
    adapter.Open();
    std::string info;
    const int result = adapter.QueryLpxInfo(info);
    adapter.Close();
    return result == LpxResultOk ? "LPX info: " + QString::fromStdString(info) : QString();
}
