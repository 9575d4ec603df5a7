// Writing a device: identify it, check the configuration against its generation, settle the new
// code, hand the blocks of its generation to the LPX, wait for the press that writes them, and
// read the device back when a check is asked for.

#include "config/prewrite.h"
#include "config/settingsmodel.h"
#include "jobs/claimedcode.h"
#include "jobs/devicejobs.h"
#include "jobs/jobrun.h"
#include "link/trace.h"
#include "resources/catalogue.h"

WriteRequest WriteRequestOf(const SettingsModel& view, WriteRequest request) {
    request.usesGeneration2Settings = view.UsesGeneration2Settings();
    request.pressTimeFitsDelay = view.PressTimeFitsDelay();
    view.EncodeConfigImage(request.image, MarkToDevice);
    SetNewCode(request, view.Text(Field::newRadioCode));
    return request;
}

void SetNewCode(WriteRequest& request, const QString& code) {
    request.newCode = code;
    request.settingsFailure = CheckNewRadioCode(code);
    if (request.settingsFailure == 0) request.settingsFailure = CheckWriteImage(request.image);
    uint8_t high = 0, low = 0;
    TextToCode(code.toLatin1().toStdString(), high, low);
    request.image.cells[Addr::RadioIdCode] = {high, MarkToDevice};
    request.image.cells[Addr::RadioIdCode + 1] = {low, MarkToDevice};
}

void DeviceJobs::WriteSteps(Run& run, WriteRequest request) {
    LpxSession lpx(adapter_, host_);
    run.lpx = &lpx;
    host_.ShowStatus(QString());
    if (request.settingsFailure != 0)
        return Fail(run, FailureKind::Settings, request.settingsFailure);
    host_.SetWaitTitle(Text(Msg::WriteTitle));
    run.steps = request.verify ? 3 : 2;
    if (!IdentifyDevice(run)) return NoDeviceIdentified(run, true);
    const QString device = run.outcome.codeBefore;
    if (request.refuseDevice && request.refuseDevice(device)) {
        run.refused = true;
        return;
    }
    if (request.codeFor) SetNewCode(request, request.codeFor(device));
    if (request.roomOf) run.outcome.room = request.roomOf(request.newCode);

    const int generation = *run.outcome.firmwareVersion >> 4;
    if (generation == 1 && request.usesGeneration2Settings)
        InformationBox(host_.JobMessages(), Msg::Generation1Warning);
    if (generation == 2 && !request.pressTimeFitsDelay)
        return Fail(run, FailureKind::DeviceCheck, Msg::PressTimeTooShort);

    const QString& newCode = request.newCode;
    bool changeCode = !newCode.isEmpty() && newCode != device;
    if (changeCode && request.askCodeChange) {
        const BoxAnswer answer = AskQuestion(host_.JobMessages(), Msg::ConfirmCodeChange,
                                             {device, newCode}, BoxButtons::YesNoAbort);
        // A signal that came while the question was open closed it: nothing goes out then.
        if (answer == BoxAnswer::Abort || host_.AbortRequested()) {
            run.outcome.userAborted = true;
            return;
        }
        changeCode = answer == BoxAnswer::Yes;
    }
    const QString codeAfter = changeCode ? newCode.toUpper() : device;
    ClaimedCode claim(RecordGuard(), codeAfter);
    if (changeCode && !request.codeClaimed && !ClaimCode(run, claim, device)) return;

    LpxResult listed = lpx.AddWriteBlock("");
    for (const WriteBlock& block : WritePlan(generation, changeCode))
        listed = FirstRefusal(
            listed, lpx.AddWriteBlock(BuildBlockText(request.image, block.count, block.start)));
    NoteRefusal(lpx, listed, "n");
    if (lpx.StartJob(device.toStdString()) != LpxResultOk) {
        // Nothing was written; the user must not take the silence for success.
        LpxRefused(run, Msg::LpxJobNotStarted);
        return;  // the session empties the list
    }
    run.outcome.writeStarted = true;
    claim.Sent();
    const WaitOutcome outcome =
        AwaitPress(run, PollWriteJob, {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToWrite});
    NoteRefusal(lpx, lpx.AddWriteBlock(""), "n");
    if (outcome == WaitAborted) Status(Msg::WriteAborted);
    FailedPress(run, outcome, Msg::WriteFailed);
    if (outcome != WaitDone) return;

    run.outcome.written = true;
    run.outcome.sent = request.image;
    run.outcome.codeAfter = codeAfter;
    run.succeeded = true;
    if (!request.verify) return Status(Msg::WriteDone);
    Check(run, request.image, generation, changeCode);
}

JobOutcome DeviceJobs::Write(const WriteRequest& request) {
    Run run(JournalJob::Write);
    TraceNote(QStringLiteral("Beginn ") + QString::fromLatin1(JournalJobWord(run.outcome.job)));
    WriteSteps(run, request);
    return Finish(run, request.file, request.recordAbortBeforeDevice);
}
