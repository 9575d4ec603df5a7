#pragma once
// Before a job gives a device a radio ID code, the code is claimed: checked against the record
// (local, and the company's server when there is one) and reserved for this station, so that no
// two devices ever get one code. A job asks its guard once the device is known and before the
// new code is sent, and tells the guard how the job ended, on every way out.

#include <QString>

struct CodeClaimAnswer {
    enum class Kind {
        Granted,   // the code is this station's now
        AskReuse,  // a device holds it by the record; given again only when the user says so
        Refused,   // another station holds it, or the record cannot be asked
    };
    Kind kind = Kind::Granted;
    // German: which device holds the code, since when and where; or why the record cannot be
    // asked. Empty for Granted.
    QString text;
};

class CodeGuard {
  public:
    virtual ~CodeGuard() = default;
    // Claims code for the device that carries deviceCode now. reuseConfirmed: the user (or
    // korbi-cli's --reuse-code) agreed to give a code again that the record shows on another
    // device.
    virtual CodeClaimAnswer Claim(const QString& code, const QString& deviceCode,
                                  bool reuseConfirmed) = 0;
    // The job ended: the device took the code (it stays taken) or it did not (the code is free
    // again for others).
    virtual void Settle(const QString& code, bool deviceTookIt) = 0;
};
