#pragma once
// The device jobs' host on a terminal: messages and the status line on standard error, the
// wait dialog's texts printed and its poll run by a loop of its own.

#include <QString>
#include <functional>

#include "cli/configuration.h"
#include "link/devicejobs.h"
#include "link/jobhost.h"

class TerminalHost : public JobHost {
  public:
    // Presses the button of the device in front of the LPX in practice mode, where nobody
    // stands there; the argument tells whether the device is identified for a write.
    using PressButton = std::function<void(bool identifyingForWrite)>;
    TerminalHost(TerminalMessages& messages, PressButton press)
        : messages_(messages), press_(std::move(press)) {}
    void Attach(DeviceJobs* jobs) { jobs_ = jobs; }

    Messages& JobMessages() override { return messages_; }
    void ShowStatus(const QString& text) override;
    void ShowOrigin(int) override {}
    void SetWaitTitle(const QString& title) override { title_ = title; }
    int WaitForButton(PollKind kind, const WaitTexts& texts, bool letMessagesRun) override;
    void StopPolling() override {}
    void ShowJournalWarning(const QString& text) override;
    void ShowRetry(int textId) override;

  private:
    TerminalMessages& messages_;
    PressButton press_;
    DeviceJobs* jobs_ = nullptr;
    QString title_;
};
