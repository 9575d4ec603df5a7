// Radio ID code change: the checks and questions around it, and the LPX job that writes only
// the code block.

#include "config/prewrite.h"
#include "link/devicejobs.h"
#include "resources/catalogue.h"

namespace {
bool IsForbiddenCode(const QString& code) {
    return code == "0000" || code.toUpper() == "FFFF";
}
}  // namespace

void DeviceJobs::ChangeRadioCodeSteps(const QString& code) {
    // Pasted text bypasses the key filter; a code that is not four hexadecimal digits never
    // reaches the device.
    if (!IsFourHexDigits(code)) {
        Error(Msg::CodeNotFourHexDigits);
        return;
    }
    if (IsForbiddenCode(code)) {
        Error(Msg::ForbiddenCode);
        return;
    }
    deviceRadioCode.clear();
    host_.SetWaitTitle(Text(Msg::ChangeCodeTitle));
    Identify();
    if (deviceRadioCode.isEmpty()) return;
    if (deviceRadioCode == code) {
        Information(Msg::CodeAlreadySet, {deviceRadioCode});
        return;
    }
    // Only an explicit Yes changes the code: closing the box is no consent to a change that the
    // device keeps.
    const BoxAnswer answer = AskQuestion(host_.JobMessages(), Msg::ConfirmCodeChange,
                                         {deviceRadioCode, code}, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes) {
        trace_.userAborted = true;
        return;
    }
    newRadioCode = code;
    trace_.codeAfter = code.toUpper();
    switch (ChangeDeviceRadioCode()) {
        case CodeChangeDone:
            Information(Msg::CodeChanged);
            break;
        case CodeChangeFailed:
            Error(Msg::CodeChangeFailed);
            break;
        case CodeChangeTimedOut:
            Error(Msg::WaitTimedOutText);
            break;
        default:
            break;
    }
}

int DeviceJobs::ChangeDeviceRadioCode() {
    host_.ShowStatus(QString());
    if (deviceRadioCode.isEmpty()) {
        Identify();
        if (deviceRadioCode.isEmpty()) return CodeChangeNotDone;
    }
    if (!IsFourHexDigits(newRadioCode) || IsForbiddenCode(newRadioCode)) return CodeChangeNotDone;
    if (adapter_.Open() != 0) {
        adapter_.Close();
        return CodeChangeNotDone;
    }
    // The code goes out as typed; lower-case digits stay lower case.
    adapter_.AddWriteBlock("");
    adapter_.AddWriteBlock("0220" + newRadioCode.toStdString());

    int result = CodeChangeNotDone;
    if (adapter_.StartJob(deviceRadioCode.toStdString()) == LpxResultOk) {
        const int outcome =
            RunWait(PollWriteJob,
                    {Msg::ChangeCodeTitle, Msg::WaitingForDevice, Msg::PressToChangeCode}, true);
        if (outcome == WaitDone) result = CodeChangeDone;
        if (outcome == WaitFailed) result = CodeChangeFailed;
        if (outcome == WaitTimedOut) result = CodeChangeTimedOut;
        StopPolling(true);
    } else {
        ReportLineLost();
    }
    adapter_.AddWriteBlock("");
    adapter_.Close();
    return result;
}
