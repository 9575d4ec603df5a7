// Radio ID code change: the dialog, and the LPX job that writes only the code block.

#include "app/catalogue.h"
#include "link/changecode.h"
#include "link/jobguard.h"
#include "link/jobwait.h"
#include "link/linkmessages.h"

void TfrmMain::mnuCommChangeIdCodeClick() {
    if (JobGuard::Busy(*this) || !frmChangeCode) return;
    frmChangeCode->exec();
}

int TfrmMain::ChangeDeviceRadioCode() {
    SetStatusText(QString());
    if (deviceRadioCode.isEmpty()) {
        btnGetKorbiCodeClick();
        if (deviceRadioCode.isEmpty()) return CodeChangeNotDone;
    }
    if (!IsFourHexDigits(newRadioCode) || newRadioCode == "0000" ||
        newRadioCode.toUpper() == "FFFF")
        return CodeChangeNotDone;
    if (adapter.Open() != 0) {
        adapter.Close();
        return CodeChangeNotDone;
    }
    // The code goes out as typed; lower-case digits stay lower case.
    adapter.AddWriteBlock("");
    adapter.AddWriteBlock("0220" + newRadioCode.toStdString());

    int result = CodeChangeNotDone;
    if (adapter.StartJob(deviceRadioCode.toStdString()) == LpxResultOk) {
        const int outcome = RunWait(*this, PollWriteJob, {10621, 10872, 10628}, true);
        if (outcome == WaitDone) result = CodeChangeDone;
        if (outcome == WaitFailed) result = CodeChangeFailed;
        if (outcome == WaitTimedOut) result = CodeChangeTimedOut;
        StopPolling(*this, true);
    } else {
        ReportLineLost(*this);
    }
    adapter.AddWriteBlock("");
    adapter.Close();
    return result;
}
