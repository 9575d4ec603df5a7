// Radio ID code change: the checks and questions around it, and the LPX job that writes only
// the code block.

#include "config/prewrite.h"
#include "jobs/devicejobs.h"
#include "resources/catalogue.h"

namespace {
bool IsForbiddenCode(const QString& code) {
    return code == "0000" || code.toUpper() == "FFFF";
}
}  // namespace

void DeviceJobs::CodeChangeBegins() {
    const QString& code = job_->newCode;
    // Pasted text bypasses the key filter; a code that is not four hexadecimal digits never
    // reaches the device.
    if (!IsFourHexDigits(code)) {
        Fail(FailureKind::Settings, Msg::CodeNotFourHexDigits);
        Finish();
        return;
    }
    if (IsForbiddenCode(code)) {
        Fail(FailureKind::Settings, Msg::ForbiddenCode);
        Finish();
        return;
    }
    host_.SetWaitTitle(Text(Msg::ChangeCodeTitle));
    Identify();
}

void DeviceJobs::CodeChangeIdentified() {
    const QString& code = job_->newCode;
    const QString& device = job_->deviceCode;
    if (device.isEmpty()) {
        // The abort has said so; a device without a code has not.
        if (outcome_.failure.kind == FailureKind::NoDeviceCode) Status(Msg::IdentifyAborted);
        Finish();
        return;
    }
    if (device == code) {
        job_->succeeded = true;
        Information(Msg::CodeAlreadySet, {device});
        Finish();
        return;
    }
    // Only an explicit Yes changes the code: closing the box is no consent to a change that the
    // device keeps.
    const BoxAnswer answer =
        AskQuestion(host_.JobMessages(), Msg::ConfirmCodeChange, {device, code}, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes) {
        job_->aborted = true;
        Finish();
        return;
    }
    host_.ShowStatus(QString());
    if (!OpenAgain()) return;
    // The code goes out as typed; lower-case digits stay lower case.
    adapter_.AddWriteBlock("");
    adapter_.AddWriteBlock("0220" + code.toStdString());
    if (adapter_.StartJob(device.toStdString()) != LpxResultOk) {
        LpxRefused(0);
        CodeChangeAnswered(0);
        return;
    }
    outcome_.writeStarted = true;
    AwaitPress(JobStep::AwaitPress, PollWriteJob,
               {Msg::ChangeCodeTitle, Msg::WaitingForDevice, Msg::PressToChangeCode});
}

// outcome 0: the job was never started.
void DeviceJobs::CodeChangeAnswered(int outcome) {
    adapter_.AddWriteBlock("");
    session_->Close();
    switch (outcome) {
        case WaitDone:
            job_->succeeded = true;
            outcome_.written = true;
            outcome_.codeAfter = job_->newCode.toUpper();
            host_.JobMessages().ShowMessage(BoxKind::Information, Msg::CodeChanged,
                                            NameDevice(CodesText(outcome_), Text(Msg::CodeChanged)),
                                            BoxButtons::Ok);
            break;
        default:
            FailedPress(outcome, Msg::CodeChangeFailed);
            break;
    }
    Finish();
}
