// Writing a device: check and encode the settings, identify the device, hand the blocks of its
// generation to the LPX and wait for the press that writes them.

#include "config/prewrite.h"
#include "jobs/devicejobs.h"
#include "resources/catalogue.h"

void DeviceJobs::WriteBegins() {
    ClearImage(job_->writeImage);
    host_.ShowStatus(QString());
    if (const int failed =
            CheckSettingsBeforeWrite(settings_, job_->writeImage, job_->encodeResult)) {
        Fail(FailureKind::Settings, failed);
        Finish();
        return;
    }
    host_.SetWaitTitle(Text(Msg::WriteTitle));
    job_->steps = job_->write.verify ? 3 : 2;
    Identify();
}

void DeviceJobs::WriteIdentified() {
    if (job_->deviceCode.isEmpty()) {
        IdentificationEnded();
        return;
    }
    const WriteRequest& request = job_->write;
    if (request.refuseDevice && request.refuseDevice(job_->deviceCode)) {
        job_->refused = true;
        Finish();
        return;
    }
    settings_.SetTextAsLoaded(Field::edtRadioCodeOld, job_->deviceCode);

    const int generation = job_->firmwareVersion >> 4;
    job_->generation = generation;
    if (generation == 1 && settings_.UsesGeneration2Settings())
        Information(Msg::Generation1Warning);
    if (generation == 2 && !settings_.PressTimeFitsDelay()) {
        Fail(FailureKind::DeviceCheck, Msg::PressTimeTooShort);
        Finish();
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
            job_->aborted = true;
            Finish();
            return;
        }
        changeCode = answer == BoxAnswer::Yes;
    }
    job_->changeCode = changeCode;
    job_->codeAfter = changeCode ? newCode.toUpper() : oldCode;
    if (job_->encodeResult != DecodeOk) {
        Fail(FailureKind::DeviceCheck, Msg::EncodingError, {QString::number(job_->encodeResult)});
        Finish();
        return;
    }

    if (!OpenAgain()) return;
    adapter_.AddWriteBlock("");
    for (const WriteBlock& block : WritePlan(generation, changeCode))
        adapter_.AddWriteBlock(BuildBlockText(job_->writeImage, block.count, block.start));

    if (adapter_.StartJob(oldCode.toStdString()) != LpxResultOk) {
        // Nothing was written; the user must not take the silence for success.
        LpxRefused(Msg::LpxJobNotStarted);
        WriteEnds();
        return;
    }
    outcome_.writeStarted = true;
    AwaitPress(JobStep::AwaitPress, PollWriteJob,
               {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToWrite});
}

void DeviceJobs::WriteAnswered(int outcome) {
    switch (outcome) {
        case WaitDone:
            outcome_.written = true;
            outcome_.sent = job_->writeImage;
            outcome_.codeAfter = job_->codeAfter;
            // The device now holds what the view shows: nothing of it can be lost any more.
            settings_.MarkClean();
            Succeed(job_->write.verify ? 0 : Msg::WriteDone);
            break;
        case WaitAborted:
            Status(Msg::WriteAborted);
            break;
        default:
            FailedPress(outcome, Msg::WriteFailed);
            break;
    }
    WriteEnds();
}

// The write list is emptied; a written device is read back when that was asked for.
void DeviceJobs::WriteEnds() {
    adapter_.AddWriteBlock("");
    if (outcome_.written && job_->write.verify) {
        CheckBegins();
        return;
    }
    session_->Close();
    Finish();
}
