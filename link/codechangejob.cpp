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
        Fail(FailureKind::Settings, Msg::CodeNotFourHexDigits);
        return;
    }
    if (IsForbiddenCode(code)) {
        Fail(FailureKind::Settings, Msg::ForbiddenCode);
        return;
    }
    deviceRadioCode.clear();
    host_.SetWaitTitle(Text(Msg::ChangeCodeTitle));
    Identify();
    if (deviceRadioCode.isEmpty()) {
        // The abort has said so; a device without a code has not.
        if (outcome_.failure.kind == FailureKind::NoDeviceCode) Status(Msg::IdentifyAborted);
        return;
    }
    if (deviceRadioCode == code) {
        succeeded_ = true;
        Information(Msg::CodeAlreadySet, {deviceRadioCode});
        return;
    }
    // Only an explicit Yes changes the code: closing the box is no consent to a change that the
    // device keeps.
    const BoxAnswer answer = AskQuestion(host_.JobMessages(), Msg::ConfirmCodeChange,
                                         {deviceRadioCode, code}, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes) {
        aborted_ = true;
        return;
    }
    newRadioCode = code;
    switch (ChangeDeviceRadioCode()) {
        case CodeChangeDone:
            succeeded_ = true;
            outcome_.written = true;
            outcome_.codeAfter = code.toUpper();
            host_.JobMessages().ShowMessage(BoxKind::Information, Msg::CodeChanged,
                                            NameDevice(CodesText(outcome_), Text(Msg::CodeChanged)),
                                            BoxButtons::Ok);
            break;
        case CodeChangeFailed:
            Fail(FailureKind::Device, Msg::CodeChangeFailed);
            break;
        case CodeChangeTimedOut:
            Fail(FailureKind::Device, Msg::WaitTimedOutText);
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
        LpxRefused(0);
        return CodeChangeNotDone;
    }
    // The code goes out as typed; lower-case digits stay lower case.
    adapter_.AddWriteBlock("");
    adapter_.AddWriteBlock("0220" + newRadioCode.toStdString());

    int result = CodeChangeNotDone;
    if (adapter_.StartJob(deviceRadioCode.toStdString()) == LpxResultOk) {
        outcome_.writeStarted = true;
        const int outcome =
            RunWait(PollWriteJob,
                    {Msg::ChangeCodeTitle, Msg::WaitingForDevice, Msg::PressToChangeCode}, true);
        if (outcome == WaitDone) result = CodeChangeDone;
        if (outcome == WaitFailed) result = CodeChangeFailed;
        if (outcome == WaitTimedOut) result = CodeChangeTimedOut;
        StopPolling(true);
    } else {
        LpxRefused(0);
    }
    adapter_.AddWriteBlock("");
    adapter_.Close();
    return result;
}
