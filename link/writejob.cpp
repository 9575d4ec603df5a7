// Writing a device: check and encode the settings, identify the device, hand the blocks of its
// generation to the LPX and wait for the press that writes them.

#include "config/prewrite.h"
#include "link/devicejobs.h"
#include "resources/catalogue.h"

void DeviceJobs::WriteSteps() {
    ClearImage(writeImage);
    host_.ShowStatus(QString());
    int encodeResult = DecodeOk;
    if (const int failed = CheckSettingsBeforeWrite(settings_, writeImage, encodeResult)) {
        Error(failed);
        return;
    }

    host_.SetWaitTitle(Text(Msg::WriteTitle));
    Identify();
    if (deviceRadioCode.isEmpty()) {
        // A failure has said what happened; only the user's cancel is told as such.
        if (trace_.userAborted) Status(Msg::IdentifyAborted);
        return;
    }
    settings_.SetTextAsLoaded(Field::edtRadioCodeOld, deviceRadioCode);

    const int generation = deviceFirmwareVersion >> 4;
    if (generation == 1 && settings_.UsesGeneration2Settings())
        Information(Msg::Generation1Warning);
    if (generation == 2 && !settings_.PressTimeFitsDelay()) {
        Error(Msg::PressTimeTooShort);
        return;
    }

    bool changeCode = false;
    const QString oldCode = settings_.Text(Field::edtRadioCodeOld);
    const QString newCode = settings_.Text(Field::edtRadioCodeNew);
    if (!newCode.isEmpty() && newCode != oldCode && !askCodeChange) {
        changeCode = true;
    } else if (!newCode.isEmpty() && newCode != oldCode) {
        const BoxAnswer answer = AskQuestion(host_.JobMessages(), Msg::ConfirmCodeChange,
                                             {oldCode, newCode}, BoxButtons::YesNoAbort);
        if (answer == BoxAnswer::Abort) {
            trace_.userAborted = true;
            return;
        }
        changeCode = answer == BoxAnswer::Yes;
    }
    if (changeCode) trace_.codeAfter = newCode.toUpper();
    if (encodeResult != DecodeOk) {
        Error(Msg::EncodingError, {QString::number(encodeResult)});
        return;
    }

    if (adapter_.Open() != 0) {
        adapter_.Close();
        return;
    }
    adapter_.AddWriteBlock("");
    for (const WriteBlock& block : WritePlan(generation, changeCode))
        adapter_.AddWriteBlock(BuildBlockText(writeImage, block.count, block.start));

    if (adapter_.StartJob(oldCode.toStdString()) != LpxResultOk) {
        // Nothing was written; the user must not take the silence for success.
        if (!ReportLineLost()) Error(Msg::LpxJobNotStarted);
    } else {
        const int outcome = RunWait(
            PollWriteJob, {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToWrite}, true);
        switch (outcome) {
            case WaitDone:
                trace_.written = true;
                // The device now holds what the view shows: nothing of it can be lost any more.
                settings_.MarkClean();
                if (!verifyAfterWrite) Status(Msg::WriteDone);
                break;
            case WaitFailed:
                pollTag = PollNone;
                Error(Msg::WriteFailed);
                break;
            case WaitAborted:
                pollTag = PollNone;
                Status(Msg::WriteAborted);
                break;
            case WaitTimedOut:
                pollTag = PollNone;
                Error(Msg::WaitTimedOutText);
                break;
            default:
                break;
        }
        StopPolling(false);
    }
    adapter_.AddWriteBlock("");
    if (trace_.written && verifyAfterWrite)
        VerifySteps(generation, changeCode, changeCode ? trace_.codeAfter : oldCode);
    adapter_.Close();
}
