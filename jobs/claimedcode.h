#pragma once
// A new radio ID code claimed through the job's guard for as long as the job runs: settled with
// the guard whatever way the job ends. A code that went out to the device stays taken, even when
// the LPX did not report the write done: the device may carry it.

#include <QString>

#include "jobs/codeguard.h"

class ClaimedCode {
  public:
    ClaimedCode(CodeGuard& guard, QString code) : guard_(&guard), code_(std::move(code)) {}
    ~ClaimedCode() {
        if (claimed_) guard_->Settle(code_, sent_);
    }
    ClaimedCode(const ClaimedCode&) = delete;
    ClaimedCode& operator=(const ClaimedCode&) = delete;

    const QString& Code() const { return code_; }
    CodeClaimAnswer Claim(const QString& deviceCode, bool reuseConfirmed) {
        const CodeClaimAnswer answer = guard_->Claim(code_, deviceCode, reuseConfirmed);
        claimed_ = claimed_ || answer.kind == CodeClaimAnswer::Kind::Granted;
        reused_ = claimed_ && reuseConfirmed;
        return answer;
    }
    // The job that carries the code went out to the device.
    void Sent() { sent_ = true; }
    // The code was given although the record shows it on another device.
    bool Reused() const { return reused_; }

  private:
    CodeGuard* guard_;
    QString code_;
    bool claimed_ = false;
    bool sent_ = false;
    bool reused_ = false;
};
