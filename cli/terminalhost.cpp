#include "cli/terminalhost.h"

#include "cli/context.h"
#include "cli/terminalwait.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

void TerminalHost::ShowStatus(const QString& text) {
    if (!text.isEmpty()) PrintError(text + '\n');
}

void TerminalHost::ShowJournalWarning(const QString& text) {
    PrintError(text + '\n');
}

void TerminalHost::ShowRetry(int textId) {
    PrintError(QStringLiteral("korbi-cli: ") + Text(textId) + '\n');
}

int TerminalHost::WaitForButton(PollKind kind, const WaitTexts& texts, bool) {
    if (texts.titleId != 0) title_ = Text(texts.titleId);
    TerminalWaitTexts shown{title_, Text(texts.headingId), Text(texts.instructionId)};
    std::function<void()> press;
    if (press_ && jobs_) press = [this] { press_(jobs_->WriteRunning()); };
    return RunTerminalWait(
        shown,
        [this, kind] {
            const std::optional<int> outcome = jobs_ ? jobs_->PollJobStatus(kind) : std::nullopt;
            return outcome.value_or(0);
        },
        WaitAborted, press);
}
