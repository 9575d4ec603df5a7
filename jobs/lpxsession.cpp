#include "jobs/lpxsession.h"

#include "jobs/devicejobs.h"
#include "jobs/jobrun.h"
#include "link/trace.h"

LpxSession::~LpxSession() {
    // A job that ran its course emptied its lists itself; these are the other ways out. The
    // adapter closes whatever the LPX answers; the trace tells when it refused.
    if (readListFilled_) NoteRefusal(*this, RequestReadBlock(""), "m");
    if (writeListFilled_) NoteRefusal(*this, AddWriteBlock(""), "n");
    if (identifying_) NoteRefusal(*this, LeaveIdentifyMode(), "s0");
    adapter_.Close();
}

LpxResult LpxSession::CheckLpxFirmware(const std::string& reference) {
    return adapter_.CheckLpxFirmware(reference);
}

LpxResult LpxSession::EnterIdentifyMode() {
    const LpxResult result = adapter_.EnterIdentifyMode();
    identifying_ = result == LpxResultOk;
    return result;
}

// Leaving identification mode drops the identification's list as well.
LpxResult LpxSession::LeaveIdentifyMode() {
    identifying_ = false;
    readListFilled_ = false;
    return adapter_.LeaveIdentifyMode();
}

LpxResult LpxSession::RequestReadBlock(const std::string& blockText) {
    readListFilled_ = !blockText.empty();
    return adapter_.RequestReadBlock(blockText);
}

LpxResult LpxSession::AddWriteBlock(const std::string& blockText) {
    writeListFilled_ = !blockText.empty();
    return adapter_.AddWriteBlock(blockText);
}

LpxResult LpxSession::StartJob(const std::string& radioCode) {
    return adapter_.StartJob(radioCode);
}

LpxResult LpxSession::FetchRecord(std::string& record) {
    return adapter_.FetchRecord(record);
}

WaitOutcome LpxSession::AwaitPress(PollKind kind, const WaitTexts& texts) {
    // A line lost while the job was set up gets no wait that only a poll could end.
    if (adapter_.LineLost()) return WaitLineLost;
    if (host_.AbortRequested()) return WaitAborted;
    host_.WaitBegins(texts);
    std::optional<WaitOutcome> outcome;
    while (!outcome) {
        if (!host_.PollInterval()) {
            outcome = WaitAborted;
            continue;
        }
        std::string status;
        const LpxResult result = kind == PollWriteJob ? adapter_.QueryWriteJobStatus(status)
                                                      : adapter_.QueryReadJobStatus(status);
        // Nothing will answer again on a lost line.
        if (adapter_.LineLost())
            outcome = WaitLineLost;
        else if (result == LpxResultOk)
            outcome = OutcomeOfJobStatus(status);
    }
    host_.WaitEnds();
    return *outcome;
}

void NoteRefusal(const LpxSession& lpx, LpxResult result, const char* command) {
    if (result != LpxResultOk && !lpx.LineLost())
        TraceNote(QStringLiteral("Die LPX hat %1 nicht bestätigt").arg(QLatin1String(command)));
}
