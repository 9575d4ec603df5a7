// The claim of a new radio ID code, the step of the write and code-change jobs between the
// identified device and the first block sent to it: the code is checked against the record and
// reserved, and a code the record shows on another device is only given again when the user
// agrees.

#include "link/devicejobs.h"
#include "link/recordcodeguard.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

bool DeviceJobs::ClaimNewCode(const QString& code) {
    if (!guard_) guard_ = std::make_unique<RecordCodeGuard>(record_.Target());
    CodeClaimAnswer answer = guard_->Claim(code, job_->deviceCode, false);
    bool givenAgain = false;
    if (answer.kind == CodeClaimAnswer::Kind::AskReuse) {
        if (reuse_ == CodeReuse::Ask &&
            AskQuestion(host_.JobMessages(), Msg::CodeReuseQuestion, {answer.text},
                        BoxButtons::YesNoDefaultNo) != BoxAnswer::Yes) {
            // Declining is the user's choice, not a failure.
            job_->aborted = true;
            Finish();
            return false;
        }
        if (reuse_ == CodeReuse::Refused) {
            answer.kind = CodeClaimAnswer::Kind::Refused;
            answer.text = FillText(Msg::CodeReuseNeedsOption, {answer.text});
        } else {
            answer = guard_->Claim(code, job_->deviceCode, true);
            givenAgain = true;
        }
    }
    if (answer.kind != CodeClaimAnswer::Kind::Granted) {
        Fail(FailureKind::CodeTaken, Msg::CodeNotClaimed, {code.toUpper()}, answer.text);
        Finish();
        return false;
    }
    job_->claimedCode = code;
    outcome_.codeGivenAgain = givenAgain;
    return true;
}
