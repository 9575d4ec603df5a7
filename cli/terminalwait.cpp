#include "cli/terminalwait.h"

#include "cli/context.h"
#include "cli/interrupt.h"

namespace {

constexpr int kPollIntervalMs = 500;
constexpr int kPracticePressAfterPolls = 2;

}  // namespace

int RunTerminalWait(const TerminalWaitTexts& texts, const std::function<int()>& pollStep,
                    int abortOutcome, const std::function<void()>& pressButton) {
    QString shown;
    if (!texts.title.isEmpty()) shown += texts.title + '\n';
    shown += texts.heading + '\n' + texts.instruction + '\n';
    shown += QStringLiteral("(Strg+C bricht ab)\n");
    PrintError(shown);
    for (int polls = 0;; ++polls) {
        if (pressButton && polls == kPracticePressAfterPolls) pressButton();
        if (SleepUnlessInterrupted(kPollIntervalMs)) return abortOutcome;
        const int outcome = pollStep();
        if (outcome != 0) return outcome;
    }
}
