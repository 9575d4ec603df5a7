// The status poll timer, the standby timer and the wait that every device job shares.

#include <QCoreApplication>
#include <QTimer>

#include "app/catalogue.h"
#include "config/image.h"
#include "link/jobwait.h"
#include "link/linkmessages.h"
#include "link/receiveradio.h"

namespace {

constexpr int kPollIntervalMs = 500;

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

void TfrmMain::tmrPollLpxInfoTimer() {
    std::string status;
    int result;
    switch (pollTag) {
        case PollWriteJob:
            result = adapter.QueryWriteJobStatus(status);
            break;
        case PollReadJob:
            result = adapter.QueryReadJobStatus(status);
            break;
        default:
            if (tmrPollLpxInfo) tmrPollLpxInfo->stop();
            return;
    }
    jobStatusText = QString::fromStdString(status);
    if (adapter.LineLost()) {
        // Nothing will answer again: end the wait instead of asking a dead line forever.
        StopPolling(*this, true);
        if (frmReceiveRadio) frmReceiveRadio->done(WaitLineLost);
        return;
    }
    if (result != LpxResultOk) return;
    const int outcome = OutcomeOfJobStatus(status);
    if (outcome != 0 && frmReceiveRadio) frmReceiveRadio->done(outcome);
}

void TfrmMain::tmrPollLpxTimer() {
    std::string status;
    const int result = adapter.QueryC1Status(status);
    c1StatusText = QString::fromStdString(status);
    if (result == LpxResultOk && status != "0000" && frmReceiveRadio)
        frmReceiveRadio->done(WaitDone);
}

int RunWait(TfrmMain& main, PollKind kind, const WaitTexts& texts, bool letMessagesRun) {
    TfrmReceiveRadio* dialog = main.frmReceiveRadio;
    if (!dialog) return WaitAborted;
    main.pollTag = kind;
    if (main.tmrPollLpxInfo) {
        main.tmrPollLpxInfo->setInterval(kPollIntervalMs);
        main.tmrPollLpxInfo->start();
    }
    if (texts.titleId != 0) dialog->SetTitle(Text(texts.titleId));
    dialog->SetHeading(Text(texts.headingId));
    dialog->SetInstruction(Text(texts.instructionId));
    if (letMessagesRun) QCoreApplication::processEvents();
    // A line lost while the job was set up gets no dialog that only a poll could end.
    const int outcome = main.adapter.LineLost() ? WaitLineLost : dialog->exec();
    if (outcome == WaitLineLost) {
        StopPolling(main, true);
        ReportLineLost(main);
    }
    return outcome;
}

void StopPolling(TfrmMain& main, bool clearTag) {
    if (clearTag) main.pollTag = PollNone;
    if (main.tmrPollLpxInfo) main.tmrPollLpxInfo->stop();
}
