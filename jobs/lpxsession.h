#pragma once
// The LPX held open by one device job from its first command to its end. The session notes
// which of the LPX's lists the job has filled; whatever way the job leaves it (its end, a
// failure, the user's abort, a lost line, an exception), a list still filled is emptied as an
// abort empties it, identification mode is left, and the adapter is closed, so that no later
// press carries out a job nobody waits for.

#include <string>

#include "jobs/jobhost.h"
#include "link/lpxadapter.h"

class LpxSession {
  public:
    LpxSession(LpxAdapter& adapter, JobHost& host) : adapter_(adapter), host_(host) {}
    ~LpxSession();
    LpxSession(const LpxSession&) = delete;
    LpxSession& operator=(const LpxSession&) = delete;

    [[nodiscard]] LpxResult Open() { return adapter_.Open(); }
    bool LineLost() const { return adapter_.LineLost(); }
    const OpenFailure& LastOpenFailure() const { return adapter_.LastOpenFailure(); }

    // The commands of the jobs, each noting what it leaves filled on the LPX.
    [[nodiscard]] LpxResult CheckLpxFirmware(const std::string& reference);
    [[nodiscard]] LpxResult EnterIdentifyMode();
    [[nodiscard]] LpxResult LeaveIdentifyMode();
    // An empty blockText empties the list.
    [[nodiscard]] LpxResult RequestReadBlock(const std::string& blockText);
    [[nodiscard]] LpxResult AddWriteBlock(const std::string& blockText);
    [[nodiscard]] LpxResult StartJob(const std::string& radioCode);
    [[nodiscard]] LpxResult FetchRecord(std::string& record);

    // The one wait for the device's button: shows texts, polls the job status of kind every
    // poll interval until it ends the wait, and ends at once on the user's abort (also one that
    // came before the wait) or a lost line.
    WaitOutcome AwaitPress(PollKind kind, const WaitTexts& texts);

  private:
    LpxAdapter& adapter_;
    JobHost& host_;
    bool identifying_ = false;
    bool readListFilled_ = false;
    bool writeListFilled_ = false;
};
