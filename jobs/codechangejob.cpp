// Radio ID code change: the checks and questions around it, and the LPX job that writes only
// the code block.

#include "config/prewrite.h"
#include "jobs/claimedcode.h"
#include "jobs/devicejobs.h"
#include "jobs/jobrun.h"
#include "link/trace.h"
#include "resources/catalogue.h"

namespace {
bool IsForbiddenCode(const QString& code) {
    return code == "0000" || code.toUpper() == "FFFF";
}
}  // namespace

void DeviceJobs::CodeChangeSteps(Run& run, const CodeChangeRequest& request) {
    const QString& code = request.code;
    // Pasted text bypasses the key filter; a code that is not four hexadecimal digits never
    // reaches the device.
    if (!IsFourHexDigits(code)) return Fail(run, FailureKind::Settings, Msg::CodeNotFourHexDigits);
    if (IsForbiddenCode(code)) return Fail(run, FailureKind::Settings, Msg::ForbiddenCode);
    LpxSession lpx(adapter_, host_);
    run.lpx = &lpx;
    host_.SetWaitTitle(Text(Msg::ChangeCodeTitle));
    if (!IdentifyDevice(run)) return NoDeviceIdentified(run, false);
    const QString device = run.outcome.codeBefore;
    if (device == code) {
        run.succeeded = true;
        return InformationBox(host_.JobMessages(), Msg::CodeAlreadySet, {device});
    }
    // Only an explicit Yes changes the code: closing the box is no consent to a change that the
    // device keeps.
    const BoxAnswer answer =
        AskQuestion(host_.JobMessages(), Msg::ConfirmCodeChange, {device, code}, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes) {
        run.outcome.userAborted = true;
        return;
    }
    ClaimedCode claim(RecordGuard(), code.toUpper());
    if (!ClaimCode(run, claim, device)) return;
    host_.ShowStatus(QString());
    // The code goes out as typed; lower-case digits stay lower case.
    const LpxResult emptied = lpx.AddWriteBlock("");
    NoteRefusal(lpx, FirstRefusal(emptied, lpx.AddWriteBlock("0220" + code.toStdString())), "n");
    if (lpx.StartJob(device.toStdString()) != LpxResultOk) {
        LpxRefused(run, 0);
        return;  // the session empties the list
    }
    run.outcome.writeStarted = true;
    claim.Sent();
    const WaitOutcome outcome = AwaitPress(
        run, PollWriteJob, {Msg::ChangeCodeTitle, Msg::WaitingForDevice, Msg::PressToChangeCode});
    NoteRefusal(lpx, lpx.AddWriteBlock(""), "n");
    if (outcome != WaitDone) return FailedPress(run, outcome, Msg::CodeChangeFailed);
    run.succeeded = true;
    run.outcome.written = true;
    run.outcome.codeAfter = code.toUpper();
    host_.JobMessages().ShowMessage(BoxKind::Information, Msg::CodeChanged,
                                    NameDevice(CodesText(run.outcome), Text(Msg::CodeChanged)),
                                    BoxButtons::Ok);
}

JobOutcome DeviceJobs::ChangeCode(const CodeChangeRequest& request) {
    Run run(JournalJob::CodeChange);
    TraceNote(QStringLiteral("Beginn ") + QString::fromLatin1(JournalJobWord(run.outcome.job)));
    CodeChangeSteps(run, request);
    return Finish(run, QString(), true);
}
