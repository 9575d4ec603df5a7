// Writing a device: check and encode the settings view, identify the device, hand the blocks
// of its generation to the LPX and wait for the press that writes them.

#include <QLineEdit>

#include "app/catalogue.h"
#include "app/prompts.h"
#include "config/prewrite.h"
#include "link/changecode.h"
#include "link/jobguard.h"
#include "link/jobwait.h"
#include "link/linkmessages.h"
#include "link/receiveradio.h"

namespace {

// The checks that need neither the LPX nor a button press. False when one failed (its message
// has been shown).
bool SettingsCheckOut(TfrmMain& main, int& encodeResult) {
    const QString newCode = main.edtRadioCodeNew->text();
    if (IsForbiddenNewRadioCode(newCode)) {
        main.ErrorBox(10818);
        return false;
    }
    // A shorter code or pasted characters would give the device a code other than the one the
    // user confirms.
    if (!newCode.isEmpty() && !IsFourHexDigits(newCode)) {
        main.ErrorBox(10629);
        return false;
    }
    encodeResult = main.EncodeConfigImage(main.writeImage, MarkToDevice);
    if (HasCodeInBothGroups(main.writeImage)) {
        main.ErrorBox(10875);
        return false;
    }
    if (HasZoneInBothGroups(main.writeImage)) {
        main.ErrorBox(10876);
        return false;
    }
    return true;
}

}  // namespace

void TfrmMain::mnuCommWriteToDeviceClick() {
    btnWriteToDeviceClick();
}

void TfrmMain::btnWriteToDeviceClick() {
    JobGuard guard(*this);
    if (!guard.Acquired()) return;
    ClearImage(writeImage);
    SetStatusText(QString());
    int encodeResult = DecodeOk;
    if (!SettingsCheckOut(*this, encodeResult)) return;

    if (frmReceiveRadio) frmReceiveRadio->SetTitle(Text(10601));
    btnGetKorbiCodeClick();
    if (deviceRadioCode.isEmpty()) {
        SetStatusText(Text(10804));
        return;
    }
    edtRadioCodeOld->setText(deviceRadioCode);

    const int generation = deviceFirmwareVersion >> 4;
    if (generation == 1 && UsesGeneration2Settings()) InformationBox(10874);
    if (generation == 2 && !PressTimeFitsDelay()) {
        ErrorBox(10877);
        return;
    }

    bool changeCode = false;
    const QString oldCode = edtRadioCodeOld->text();
    const QString newCode = edtRadioCodeNew->text();
    if (!newCode.isEmpty() && newCode != oldCode) {
        const BoxAnswer answer =
            prompts().ShowMessage(BoxKind::Information, 10871, FillText(10871, {oldCode, newCode}),
                                  BoxButtons::YesNoAbort);
        if (answer == BoxAnswer::Abort) return;
        changeCode = answer == BoxAnswer::Yes;
    }
    if (encodeResult != DecodeOk) {
        ErrorBox(10823, {QString::number(encodeResult)});
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
        if (!ReportLineLost(*this)) ErrorBox(10508);
    } else {
        const int outcome = RunWait(*this, PollWriteJob, {10601, 10872, 10602}, true);
        switch (outcome) {
            case WaitDone:
                SetStatusText(Text(10605));
                break;
            case WaitFailed:
                pollTag = PollNone;
                ErrorBox(10603);
                break;
            case WaitAborted:
                pollTag = PollNone;
                SetStatusText(Text(10604));
                break;
            case WaitTimedOut:
                pollTag = PollNone;
                ErrorBox(10873);
                break;
            default:
                break;
        }
        StopPolling(*this, false);
    }
    adapter.AddWriteBlock("");
    adapter.Close();
}
