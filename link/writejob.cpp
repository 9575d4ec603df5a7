// Writing a device: check and encode the settings view, identify the device, hand the blocks
// of its generation to the LPX and wait for the press that writes them.

#include "app/prompts.h"
#include "config/prewrite.h"
#include "link/changecode.h"
#include "link/jobguard.h"
#include "link/jobwait.h"
#include "link/receiveradio.h"
#include "resources/catalogue.h"

void TfrmMain::mnuCommWriteToDeviceClick() {
    btnWriteToDeviceClick();
}

void TfrmMain::btnWriteToDeviceClick() {
    JobGuard guard(*this);
    if (!guard.Acquired()) return;
    ClearImage(writeImage);
    SetStatusText(QString());
    int encodeResult = DecodeOk;
    if (const int failed = CheckSettingsBeforeWrite(Model(), writeImage, encodeResult)) {
        ErrorBox(failed);
        return;
    }

    if (frmReceiveRadio) frmReceiveRadio->SetTitle(Text(Msg::WriteTitle));
    btnGetKorbiCodeClick();
    if (deviceRadioCode.isEmpty()) {
        SetStatusText(Text(Msg::IdentifyAborted));
        return;
    }
    Model().SetText(Field::edtRadioCodeOld, deviceRadioCode);

    const int generation = deviceFirmwareVersion >> 4;
    if (generation == 1 && Model().UsesGeneration2Settings())
        InformationBox(Msg::Generation1Warning);
    if (generation == 2 && !Model().PressTimeFitsDelay()) {
        ErrorBox(Msg::PressTimeTooShort);
        return;
    }

    bool changeCode = false;
    const QString oldCode = Model().Text(Field::edtRadioCodeOld);
    const QString newCode = Model().Text(Field::edtRadioCodeNew);
    if (!newCode.isEmpty() && newCode != oldCode) {
        const BoxAnswer answer = prompts().ShowMessage(
            BoxKind::Information, Msg::ConfirmCodeChange,
            FillText(Msg::ConfirmCodeChange, {oldCode, newCode}), BoxButtons::YesNoAbort);
        if (answer == BoxAnswer::Abort) return;
        changeCode = answer == BoxAnswer::Yes;
    }
    if (encodeResult != DecodeOk) {
        ErrorBox(Msg::EncodingError, {QString::number(encodeResult)});
        return;
    }

    if (adapter.Open() != 0) {
        adapter.Close();
        return;
    }
    adapter.AddWriteBlock("");
    for (const WriteBlock& block : WritePlan(generation, changeCode))
        adapter.AddWriteBlock(BuildBlockText(writeImage, block.count, block.start));

    if (adapter.StartJob(oldCode.toStdString()) != LpxResultOk) {
        // Nothing was written; the user must not take the silence for success.
        ErrorBox(Msg::LpxJobNotStarted);
    } else {
        const int outcome = RunWait(
            *this, PollWriteJob, {Msg::WriteTitle, Msg::WaitingForDevice, Msg::PressToWrite}, true);
        switch (outcome) {
            case WaitDone:
                SetStatusText(Text(Msg::WriteDone));
                break;
            case WaitFailed:
                pollTag = PollNone;
                ErrorBox(Msg::WriteFailed);
                break;
            case WaitAborted:
                pollTag = PollNone;
                SetStatusText(Text(Msg::WriteAborted));
                break;
            case WaitTimedOut:
                pollTag = PollNone;
                ErrorBox(Msg::WaitTimedOutText);
                break;
            default:
                break;
        }
        StopPolling(*this, false);
    }
    adapter.AddWriteBlock("");
    adapter.Close();
}
