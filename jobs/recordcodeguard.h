#pragma once
// The code guard over the device record: a code is checked against the local record (which also
// holds the lines still waiting for the company's server) and, with a server, reserved there in
// one statement, so that of two stations only one gets it. Without a server the local record
// decides alone.

#include <memory>

#include "jobs/codeguard.h"
#include "record/codereservations.h"
#include "record/journalstore.h"

class RecordCodeGuard : public CodeGuard {
  public:
    explicit RecordCodeGuard(JournalTarget record);
    ~RecordCodeGuard() override;
    CodeClaimAnswer Claim(const QString& code, const QString& deviceCode,
                          bool reuseConfirmed) override;
    void Settle(const QString& code, bool deviceTookIt) override;

  private:
    CodeClaimAnswer OnServer(const QString& code, bool reuseConfirmed);

    JournalTarget record_;
    std::unique_ptr<CodeReservations> reservations_;
    QString reserved_;  // held on the server until the job is settled
};
