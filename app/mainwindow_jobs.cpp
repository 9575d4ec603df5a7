// The window's side of the device jobs: the buttons and menu entries that start them, the wait
// dialog with the status poll timer, the status line and the title.

#include <QCoreApplication>
#include <QTimer>

#include "app/codedialog.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/waitdialog.h"
#include "link/jobguard.h"
#include "resources/catalogue.h"

void TfrmMain::btnReadFromDeviceClick() {
    JobGuard guard(*this);
    if (!guard.Acquired()) return;
    // The read replaces the settings shown.
    if (!ConfirmLosingEdits()) return;
    jobs_.ReadDevice();
}

void TfrmMain::btnWriteToDeviceClick() {
    JobGuard guard(*this);
    if (!guard.Acquired()) return;
    WriteRequest request;
    request.file = WriteJournalFile();
    request.verify = verifyAfterWrite_;
    jobs_.WriteDevice(request);
}

// The journal names the file only when the settings are that file's.
QString TfrmMain::WriteJournalFile() const {
    const bool bound = configOrigin == OriginOpenedFile || configOrigin == OriginSavedFile;
    return bound ? currentFileName : QString();
}

void TfrmMain::btnGetKorbiCodeClick() {
    jobs_.Identify();
}

void TfrmMain::mnuCommReadFromDeviceClick() {
    btnReadFromDeviceClick();
}

void TfrmMain::mnuCommWriteToDeviceClick() {
    btnWriteToDeviceClick();
}

void TfrmMain::mnuCommChangeIdCodeClick() {
    if (JobGuard::Busy(*this) || !frmChangeCode) return;
    frmChangeCode->exec();
}

// ---- the job host ----

Messages& TfrmMain::JobMessages() {
    return jobFeedback_;
}

void TfrmMain::ShowStatus(const QString& text) {
    SetStatusText(text);
}

// A success names the device, so that one in a row of many can be told from the next; a code
// change names both its codes.
void TfrmMain::JobEnded(const JobOutcome& outcome) {
    if (!outcome.Succeeded() || outcome.codeBefore.isEmpty()) return;
    if (outcome.job == JournalJob::CodeChange) {
        // The success box has sounded already.
        if (outcome.written) SetStatusText(NameDevice(CodesText(outcome), Text(Msg::CodeChanged)));
        return;
    }
    const QString named = NameDevice(CodesText(outcome), StatusText());
    if (StatusText().isEmpty()) return;
    SetStatusText(named);
    if (outcome.Complete()) jobFeedback_.Ended(true, named);
}

void TfrmMain::ShowOrigin(int origin) {
    configOrigin = origin;
    UpdateCaption();
}

void TfrmMain::SetWaitTitle(const QString& title) {
    if (frmReceiveRadio) frmReceiveRadio->SetTitle(title);
}

// The wait dialog runs the window's message loop while the poll timer asks the LPX; the timer
// closes the dialog with the outcome.
int TfrmMain::WaitForButton(PollKind, const WaitTexts& texts, bool letMessagesRun) {
    TfrmReceiveRadio* dialog = frmReceiveRadio;
    if (!dialog) return WaitAborted;
    tmrPollLpxInfo->setInterval(kPollIntervalMs);
    tmrPollLpxInfo->start();
    if (texts.titleId != 0) dialog->SetTitle(Text(texts.titleId));
    dialog->SetHeading(Text(texts.headingId));
    dialog->SetInstruction(Text(texts.instructionId));
    dialog->SetSeriesProgress(seriesProgress_);
    if (waitProgress_) waitProgress_->Start(texts.instructionId, texts.steps);
    if (letMessagesRun) QCoreApplication::processEvents();
    // A line lost while the job was set up gets no dialog that only a poll could end.
    return adapter.LineLost() ? WaitLineLost : dialog->exec();
}

// The job's own status text stays; the warning follows it.
void TfrmMain::ShowJournalWarning(const QString& text) {
    const QString status = StatusText();
    SetStatusText(status.isEmpty() ? text : status + "  " + text);
}

void TfrmMain::StopPolling() {
    tmrPollLpxInfo->stop();
}

void TfrmMain::tmrPollLpxInfoTimer() {
    const std::optional<int> outcome = jobs_.PollJobStatus(jobs_.pollTag);
    if (!outcome) {
        tmrPollLpxInfo->stop();
        return;
    }
    if (*outcome != 0 && frmReceiveRadio) frmReceiveRadio->done(*outcome);
}

void TfrmMain::tmrPollLpxTimer() {
    std::string status;
    const int result = adapter.QueryC1Status(status);
    c1StatusText = QString::fromStdString(status);
    if (result == LpxResultOk && status != "0000" && frmReceiveRadio)
        frmReceiveRadio->done(WaitDone);
}
