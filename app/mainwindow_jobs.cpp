// The window's side of the device jobs: the buttons and menu entries that start them, the wait
// dialog with the status poll timer, the status line and the title. A job runs while the
// window's own event loop goes on: the wait dialog is shown without a loop of its own, the poll
// timer and the abort button advance the job, and the job tells its end.

#include <QTimer>

#include "app/codedialog.h"
#include "app/keyboardreach.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/waitdialog.h"
#include "resources/catalogue.h"

void TfrmMain::btnReadFromDeviceClick() {
    if (jobs_.Running()) return;
    // The read replaces the settings shown.
    if (!ConfirmLosingEdits()) return;
    jobs_.StartRead();
}

void TfrmMain::btnWriteToDeviceClick() {
    if (jobs_.Running()) return;
    WriteRequest request;
    request.file = WriteJournalFile();
    request.verify = verifyAfterWrite_;
    jobs_.StartWrite(request);
}

// The journal names the file only when the settings are that file's.
QString TfrmMain::WriteJournalFile() const {
    const bool bound = configOrigin == OriginOpenedFile || configOrigin == OriginSavedFile;
    return bound ? currentFileName : QString();
}

void TfrmMain::btnGetKorbiCodeClick() {
    jobs_.StartIdentify();
}

void TfrmMain::mnuCommReadFromDeviceClick() {
    btnReadFromDeviceClick();
}

void TfrmMain::mnuCommWriteToDeviceClick() {
    btnWriteToDeviceClick();
}

void TfrmMain::mnuCommChangeIdCodeClick() {
    if (jobs_.Running() || !frmChangeCode) return;
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
    // What the status line says once the job has ended is its result, for a screen reader too.
    QTimer::singleShot(0, this, [this] { AnnounceResult(sbStatusText, StatusText()); });
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

// The wait dialog is shown modal to the whole program, as the series and code dialogs it may
// stand over must wait too, and returns at once; the poll timer asks the LPX, and the dialog's
// abort ends the wait.
void TfrmMain::WaitBegins(PollKind, const WaitTexts& texts) {
    TfrmReceiveRadio* dialog = frmReceiveRadio;
    if (!dialog) {
        // Nobody could press or abort: the job must not wait for ever.
        QTimer::singleShot(0, this, [this] { jobs_.Abort(); });
        return;
    }
    if (texts.titleId != 0) dialog->SetTitle(Text(texts.titleId));
    dialog->SetHeading(Text(texts.headingId));
    dialog->SetInstruction(Text(texts.instructionId));
    dialog->SetSeriesProgress(seriesProgress_);
    if (waitProgress_) waitProgress_->Start(texts.instructionId, texts.steps);
    tmrPollLpxInfo->setInterval(kPollIntervalMs);
    tmrPollLpxInfo->start();
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void TfrmMain::WaitEnds() {
    tmrPollLpxInfo->stop();
    if (frmReceiveRadio.Made() && frmReceiveRadio->isVisible()) frmReceiveRadio->done(0);
}

// The job's own status text stays; the warning follows it.
void TfrmMain::ShowJournalWarning(const QString& text) {
    const QString status = StatusText();
    SetStatusText(status.isEmpty() ? text : status + "  " + text);
}

void TfrmMain::tmrPollLpxInfoTimer() {
    if (jobs_.Step() == JobStep::Idle) {
        tmrPollLpxInfo->stop();
        return;
    }
    jobs_.PollTick();
}

void TfrmMain::tmrPollLpxTimer() {
    std::string status;
    const int result = adapter.QueryC1Status(status);
    c1StatusText = QString::fromStdString(status);
    if (result == LpxResultOk && status != "0000" && frmReceiveRadio)
        frmReceiveRadio->done(WaitDone);
}
