// Writing a device: check and encode the settings, identify the device, hand the blocks of its
// generation to the LPX and wait for the press that writes them.

#include "config/prewrite.h"
#include "link/devicejobs.h"
#include "resources/catalogue.h"

void DeviceJobs::WriteSteps(const WriteRequest& request) {
    ClearImage(writeImage);
    host_.ShowStatus(QString());
    int encodeResult = DecodeOk;
    if (const int failed = CheckSettingsBeforeWrite(settings_, writeImage, encodeResult)) {
        Fail(FailureKind::Settings, failed);
        return;
    }

    host_.SetWaitTitle(Text(Msg::WriteTitle));
    steps_ = request.verify ? 3 : 2;
    Identify();
    if (deviceRadioCode.isEmpty()) {
        IdentificationEnded();
        return;
    }
    if (request.refuseDevice && request.refuseDevice(deviceRadioCode)) {
        refused_ = true;
        return;
    }
    settings_.SetTextAsLoaded(Field::edtRadioCodeOld, deviceRadioCode);

    const int generation = deviceFirmwareVersion >> 4;
    if (generation == 1 && settings_.UsesGeneration2Settings())
        Information(Msg::Generation1Warning);
    if (generation == 2 && !settings_.PressTimeFitsDelay()) {
        Fail(FailureKind::DeviceCheck, Msg::PressTimeTooShort);
        return;
    }

    bool changeCode = false;
    const QString oldCode = settings_.Text(Field::edtRadioCodeOld);
    const QString newCode = settings_.Text(Field::edtRadioCodeNew);
    if (!newCode.isEmpty() && newCode != oldCode && !request.askCodeChange) {
        changeCode = true;
    } else if (!newCode.isEmpty() && newCode != oldCode) {
        const BoxAnswer answer = AskQuestion(host_.JobMessages(), Msg::ConfirmCodeChange,
                                             {oldCode, newCode}, BoxButtons::YesNoAbort);
        if (answer == BoxAnswer::Abort) {
            aborted_ = true;
            return;
        }
        changeCode = answer == BoxAnswer::Yes;
    }
    const QString codeAfter = changeCode ? newCode.toUpper() : oldCode;
    if (encodeResult != DecodeOk) {
        Fail(FailureKind::DeviceCheck, Msg::EncodingError, {QString::number(encodeResult)});
        return;
    }

    if (adapter_.Open() != 0) {
        adapter_.Close();
        LpxRefused(0);
        return;
    }
    adapter_.AddWriteBlock("");
    for (const WriteBlock& block : WritePlan(generation, changeCode))
        adapter_.AddWriteBlock(BuildBlockText(writeImage, block.count, block.start));

    if (adapter_.StartJob(oldCode.toStdString()) != LpxResultOk) {
        // Nothing was written; the user must not take the silence for success.
        LpxRefused(Msg::LpxJobNotStarted);
    } else {
        outcome_.writeStarted = true;
        const int outcome = RunWait(
            PollWriteJob, {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToWrite}, true);
        switch (outcome) {
            case WaitDone:
                outcome_.written = true;
                outcome_.sent = writeImage;
                outcome_.codeAfter = codeAfter;
                // The device now holds what the view shows: nothing of it can be lost any more.
                settings_.MarkClean();
                Succeed(request.verify ? 0 : Msg::WriteDone);
                break;
            case WaitFailed:
                pollTag = PollNone;
                Fail(FailureKind::Device, Msg::WriteFailed);
                break;
            case WaitAborted:
                pollTag = PollNone;
                Status(Msg::WriteAborted);
                break;
            case WaitTimedOut:
                pollTag = PollNone;
                Fail(FailureKind::Device, Msg::WaitTimedOutText);
                break;
            default:
                break;
        }
        StopPolling(false);
    }
    adapter_.AddWriteBlock("");
    if (outcome_.written && request.verify) VerifySteps(generation, changeCode, codeAfter);
    adapter_.Close();
}
