#pragma once
// The device jobs' host on a terminal: messages and the status line on standard error, the wait
// dialog's texts printed, and the wait's poll run by a loop of the command: the job status asked
// twice a second, Ctrl+C as the abort button.

#include <QString>
#include <functional>

#include "cli/configuration.h"
#include "jobs/devicejobs.h"
#include "jobs/jobhost.h"

class TerminalHost : public JobHost {
  public:
    // Presses the button of the device in front of the LPX in practice mode, where nobody
    // stands there; the argument tells whether the device is identified for a write.
    using PressButton = std::function<void(bool identifyingForWrite)>;
    TerminalHost(TerminalMessages& messages, PressButton press)
        : messages_(messages), press_(std::move(press)) {}

    // Runs the job just started on jobs until it ends, series included.
    const JobOutcome& RunToEnd(DeviceJobs& jobs);

    Messages& JobMessages() override { return messages_; }
    void ShowStatus(const QString& text) override;
    void ShowOrigin(int) override {}
    void SetWaitTitle(const QString& title) override { title_ = title; }
    void WaitBegins(PollKind kind, const WaitTexts& texts) override;
    void WaitEnds() override {}
    void ShowJournalWarning(const QString& text) override;
    void ShowRetry(int textId) override;

  private:
    // One poll interval of the wait; false when Ctrl+C ended it. In practice mode the device's
    // button is pressed a second after the wait began.
    bool Pause(DeviceJobs& jobs);

    TerminalMessages& messages_;
    PressButton press_;
    QString title_;
    int polls_ = 0;  // of the wait running now
};
