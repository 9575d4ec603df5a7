#include "cli/terminalhost.h"

#include "cli/context.h"
#include "cli/interrupt.h"
#include "jobs/jobview.h"
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

void TerminalHost::WaitBegins(const WaitTexts& texts) {
    if (texts.titleId != 0) title_ = Text(texts.titleId);
    QString shown;
    if (!title_.isEmpty()) shown += title_ + '\n';
    shown += Text(texts.headingId) + '\n' + Text(texts.instructionId) + '\n';
    shown += QStringLiteral("(Strg+C bricht ab)\n");
    PrintError(shown);
    polls_ = 0;
}

bool TerminalHost::PollInterval() {
    if (press_ && polls_ == kPracticePressAfterPolls) press_(writing_);
    ++polls_;
    return !SleepUnlessInterrupted(kPollIntervalMs);
}

bool TerminalHost::AbortRequested() {
    return Interrupted();
}

ReadShown TerminalHost::ShowRead(const QString& code, const ConfigImage& image) {
    return ShowReadInView(configuration_.model, code, image, &configuration_.fileImage);
}

void TerminalHost::JobEnded(const JobOutcome& outcome) {
    TakeWriteIntoView(configuration_.model, outcome);
}
