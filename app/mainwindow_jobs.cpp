// The window's side of the device jobs: the buttons and menu entries that start them, and the
// window's half of their host: the wait dialog, the status line and the title, the read shown in
// the view. The jobs run on the job thread (app/windowjobs.*); these run on the window's thread.

#include "app/codedialog.h"
#include "app/keyboardreach.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "app/waitdialog.h"
#include "jobs/jobview.h"
#include "resources/catalogue.h"

void MainWindow::onReadClicked() {
    if (jobs_.Running()) return;
    // The read replaces the settings shown.
    if (!ConfirmLosingEdits()) return;
    jobs_.StartRead();
}

void MainWindow::onWriteClicked() {
    if (jobs_.Running()) return;
    WriteRequest request;
    request.file = WriteJournalFile();
    request.verify = verifyAfterWrite_;
    jobs_.StartWrite(WriteRequestOf(settings_, request));
}

// The journal names the file only when the settings are that file's.
QString MainWindow::WriteJournalFile() const {
    const bool bound = configOrigin == OriginOpenedFile || configOrigin == OriginSavedFile;
    return bound ? currentFileName : QString();
}

void MainWindow::onGetCodeClicked() {
    jobs_.StartIdentify();
}

void MainWindow::onReadTriggered() {
    onReadClicked();
}

void MainWindow::onWriteTriggered() {
    onWriteClicked();
}

void MainWindow::onChangeCodeTriggered() {
    if (jobs_.Running() || !frmChangeCode) return;
    frmChangeCode->exec();
}

// ---- the job host on the window's thread ----

Messages& MainWindow::JobMessages() {
    return jobFeedback_;
}

void MainWindow::ShowStatus(const QString& text) {
    SetStatusText(text);
}

ReadShown MainWindow::ShowRead(const QString& code, const ConfigImage& image) {
    const ReadShown shown = ShowReadInView(settings_, code, image, &fileImage);
    ShowOrigin(OriginDevice);
    return shown;
}

// A success names the device, so that one in a row of many can be told from the next; a code
// change names both its codes.
void MainWindow::JobEnded(const JobOutcome& outcome) {
    // What the status line says once the job has ended is its result, for a screen reader too.
    QTimer::singleShot(0, this, [this] { AnnounceResult(sbStatusText, StatusText()); });
    TakeWriteIntoView(settings_, outcome);
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

void MainWindow::ShowOrigin(int origin) {
    configOrigin = origin;
    UpdateCaption();
}

void MainWindow::SetWaitTitle(const QString& title) {
    if (frmReceiveRadio) frmReceiveRadio->SetTitle(title);
}

// The wait dialog is shown modal to the whole program, as the series and code dialogs it may
// stand over must wait too, and returns at once; its abort ends the job's wait.
void MainWindow::WaitBegins(const WaitTexts& texts) {
    PressWaitDialog* dialog = frmReceiveRadio;
    if (!dialog) {
        // Nobody could press or abort: the job must not wait for ever.
        jobs_.Abort();
        return;
    }
    if (texts.titleId != 0) dialog->SetTitle(Text(texts.titleId));
    dialog->SetHeading(Text(texts.headingId));
    dialog->SetInstruction(Text(texts.instructionId));
    dialog->SetSeriesProgress(seriesProgress_);
    if (waitProgress_) waitProgress_->Start(texts.instructionId, texts.steps);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void MainWindow::WaitEnds() {
    if (frmReceiveRadio.Made() && frmReceiveRadio->isVisible()) frmReceiveRadio->done(0);
}

// The job's own status text stays; the warning follows it.
void MainWindow::ShowJournalWarning(const QString& text) {
    const QString status = StatusText();
    SetStatusText(status.isEmpty() ? text : status + "  " + text);
}
