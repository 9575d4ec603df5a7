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

int TerminalHost::WaitForButton(PollKind kind, const WaitTexts& texts, bool) {
    if (texts.titleId != 0) title_ = Text(texts.titleId);
    TerminalWaitTexts shown{title_, Text(texts.headingId), Text(texts.instructionId)};
    const bool identifyingForWrite = title_ == Text(Msg::WriteTitle);
    std::function<void()> press;
    if (press_) press = [this, identifyingForWrite] { press_(identifyingForWrite); };
    return RunTerminalWait(
        shown,
        [this, kind] {
            const std::optional<int> outcome = jobs_ ? jobs_->PollJobStatus(kind) : std::nullopt;
            return outcome.value_or(0);
        },
        WaitAborted, press);
}
