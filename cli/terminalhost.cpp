#include "cli/terminalhost.h"

#include "cli/context.h"
#include "cli/interrupt.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

constexpr int kPracticePressAfterPolls = 2;

}  // namespace

void TerminalHost::ShowStatus(const QString& text) {
    if (!text.isEmpty()) PrintError(text + '\n');
}

void TerminalHost::ShowJournalWarning(const QString& text) {
    PrintError(text + '\n');
}

void TerminalHost::ShowRetry(int textId) {
    PrintError(QStringLiteral("korbi-cli: ") + Text(textId) + '\n');
}

void TerminalHost::WaitBegins(PollKind, const WaitTexts& texts) {
    if (texts.titleId != 0) title_ = Text(texts.titleId);
    QString shown;
    if (!title_.isEmpty()) shown += title_ + '\n';
    shown += Text(texts.headingId) + '\n' + Text(texts.instructionId) + '\n';
    shown += QStringLiteral("(Strg+C bricht ab)\n");
    PrintError(shown);
    polls_ = 0;
}

bool TerminalHost::Pause(DeviceJobs& jobs) {
    if (press_ && polls_ == kPracticePressAfterPolls) press_(jobs.WriteRunning());
    ++polls_;
    return !SleepUnlessInterrupted(kPollIntervalMs);
}

const JobOutcome& TerminalHost::RunToEnd(DeviceJobs& jobs) {
    return ::RunToEnd(jobs, [this, &jobs] { return Pause(jobs); });
}
