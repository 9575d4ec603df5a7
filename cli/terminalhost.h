#pragma once
// The device jobs' host on a terminal: messages and the status line on standard error, the wait
// dialog's texts printed, and the wait's poll interval slept on the main thread; SIGINT, SIGTERM
// and SIGHUP are the abort button.

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
    // configuration: the view a read is shown in.
    TerminalHost(Configuration& configuration, PressButton press)
        : configuration_(configuration), press_(std::move(press)) {}

    // The job that comes is a write (or a series of them): practice mode presses for it.
    void SetWriting(bool writing) { writing_ = writing; }

    Messages& JobMessages() override { return configuration_.messages; }
    void ShowStatus(const QString& text) override;
    void SetWaitTitle(const QString& title) override { title_ = title; }
    void WaitBegins(const WaitTexts& texts) override;
    // In practice mode the device's button is pressed a second after the wait began.
    bool PollInterval() override;
    void WaitEnds() override {}
    bool AbortRequested() override;
    ReadShown ShowRead(const QString& code, const ConfigImage& image) override;
    void ShowJournalWarning(const QString& text) override;
    void ShowRetry(int textId) override;
    void JobEnded(const JobOutcome& outcome) override;

  private:
    Configuration& configuration_;
    PressButton press_;
    QString title_;
    bool writing_ = false;
    int polls_ = 0;  // of the wait running now
};
