#pragma once
// The wait for the device's button on a terminal: the wait dialog's texts on standard error, the
// job status asked twice a second by the same poll step as the window's timer, and Ctrl+C as the
// abort button.

#include <QString>
#include <functional>

struct TerminalWaitTexts {
    QString title;  // empty: the line of the wait before stands
    QString heading;
    QString instruction;
};

// Polls every 500 ms until pollStep names an outcome (non-zero), and returns it; Ctrl+C gives
// abortOutcome. pressButton, when given, stands for the user in front of the LPX: it is called
// once, a second after the wait began (practice mode).
int RunTerminalWait(const TerminalWaitTexts& texts, const std::function<int()>& pollStep,
                    int abortOutcome, const std::function<void()>& pressButton = {});
