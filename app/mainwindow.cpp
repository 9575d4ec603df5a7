#include "app/mainwindow.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QShowEvent>
#include <QStatusBar>
#include <QUrl>

#include "app/folderdialog.h"
#include "app/prompts.h"
#include "app/waitdialog.h"
#include "files/filenames.h"
#include "resources/catalogue.h"

MainWindow::MainWindow(const AppEnvironment& env, QWidget* parent)
    : QMainWindow(parent),
      adapter(env.serialDriver),
      env_(env),
      settings_(env.prompts),
      files_(settings_, env_.prompts, *this,
             FileBinding{currentFileName, configOrigin, fileImage, defaultFolder,
                         applicationDataFolder}),
      jobFeedback_(this, env_.prompts),
      jobs_(adapter, *this) {
    setObjectName("frmMain");
    BuildLayout();
    WireHandlers();
    settings_.SetDirtyObserver([this](bool) {
        if (!captionTitle_.isEmpty()) SetCaption(captionTitle_);
    });
    files_.SetLossGuard([this] { return ConfirmLosingEdits(); });
    BuildRecentMenu();
}

MainWindow::~MainWindow() = default;

void MainWindow::AttachDialogs(PressWaitDialog* receiveRadio, FolderDialog* selectDirectory,
                               CodeChangeDialog* changeCode, AboutBox* about) {
    frmReceiveRadio = receiveRadio;
    if (receiveRadio && !waitProgress_) waitProgress_ = new WaitProgress(receiveRadio);
    if (receiveRadio) receiveRadio->SetAbort([this] { jobs_.Abort(); });
    frmSelectDirectory = selectDirectory;
    frmChangeCode = changeCode;
    frmAbout = about;
}

void MainWindow::MakeDialogsOnDemand(DialogMakers makers) {
    if (makers.receiveRadio)
        frmReceiveRadio.SetMaker([this, make = std::move(makers.receiveRadio)] {
            PressWaitDialog* dialog = make();
            if (dialog && !waitProgress_) waitProgress_ = new WaitProgress(dialog);
            if (dialog) dialog->SetAbort([this] { jobs_.Abort(); });
            return dialog;
        });
    frmSelectDirectory.SetMaker(std::move(makers.selectDirectory));
    frmChangeCode.SetMaker(std::move(makers.changeCode));
    frmAbout.SetMaker(std::move(makers.about));
}

// ---- file commands: the handlers hand the work to the commands ----

void MainWindow::onNewTriggered(QObject* sender) {
    const auto* action = qobject_cast<const QAction*>(sender);
    files_.New(action && action->property("Tag").toInt() == 1 ? 1 : 2);
}

void MainWindow::onOpenTriggered() {
    files_.Open();
}

void MainWindow::onSaveTriggered() {
    files_.Save();
}

void MainWindow::onSaveAsTriggered() {
    files_.SaveAs();
}

void MainWindow::onSelectDefaultFolderTriggered() {
    if (frmSelectDirectory)
        ChooseDefaultFolder(*frmSelectDirectory, prompts(), defaultFolder, settingsFilePath);
}

void MainWindow::HandleDroppedFiles(const QStringList& paths) {
    files_.HandleDroppedFiles(paths);
}

void MainWindow::LoadConfigurationFile(const QString& path, LoadKind kind) {
    files_.LoadConfigurationFile(path, kind);
}

void MainWindow::WriteCurrentFile() {
    files_.WriteCurrentFile();
}

void MainWindow::UpdateCaption() {
    files_.UpdateCaption();
}

void MainWindow::SetCaption(const QString& title) {
    captionTitle_ = title;
    // Unsaved edits are marked with a leading "*", as desktop programs do.
    const QString shown = settings_.IsDirty() ? '*' + title : title;
    setWindowTitle(env_.practiceMode ? shown + ' ' + Text(Msg::PracticeCaption) : shown);
}

void MainWindow::ErrorBox(int textId, const QStringList& args, const QString& cause) {
    ::ErrorBox(prompts(), textId, args, cause);
}

void MainWindow::InformationBox(int textId, const QStringList& args) {
    ::InformationBox(prompts(), textId, args);
}

void MainWindow::SetStatusText(const QString& text) {
    sbStatusText->setText(text);
}

QString MainWindow::StatusText() const {
    return sbStatusText->text();
}

KeyFilter MainWindow::FilterOf(const QWidget* widget) {
    const QVariant v = widget ? widget->property("keyFilter") : QVariant();
    return v.isValid() ? static_cast<KeyFilter>(v.toInt()) : KeyFilter::None;
}

namespace {
void FilterKey(KeyFilter filter, QChar& key) {
    if (!SettingsModel::KeyPasses(filter, key)) key = QChar();
}
}  // namespace

void MainWindow::validateRadioCodeKeyPress(QChar& key) {
    FilterKey(KeyFilter::Hexadecimal, key);
}

void MainWindow::validateNumericKeyPress(QChar& key) {
    FilterKey(KeyFilter::WholeNumber, key);
}

void MainWindow::validateFloatNumericKeyPress(QChar& key) {
    FilterKey(KeyFilter::Decimal, key);
}

void MainWindow::onPressTimeEditLeft() {
    settings_.LeavePressTimeEdit();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::KeyPress) {
        const auto* key_event = static_cast<QKeyEvent*>(event);
        const KeyFilter filter = FilterOf(edit);
        // Ctrl shortcuts (copy, paste, cut, undo ...) are commands, not typed characters, on
        // every platform, whatever text the platform gives them. Ctrl with Alt is AltGr on some
        // keyboards, and that types characters.
        const Qt::KeyboardModifiers modifiers = key_event->modifiers();
        const bool shortcut = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
        if (filter != KeyFilter::None && !shortcut) {
            // A key may type more than one character (a composed key, or one outside the
            // basic plane as two halves): the edit receives it only when every one is allowed.
            for (QChar key : key_event->text()) {
                if (filter == KeyFilter::Hexadecimal) validateRadioCodeKeyPress(key);
                if (filter == KeyFilter::WholeNumber) validateNumericKeyPress(key);
                if (filter == KeyFilter::Decimal) validateFloatNumericKeyPress(key);
                if (key.isNull()) return true;  // swallowed: the edit receives nothing
            }
        }
    }
    if (edit == ControlOf(Field::pressTimeSeconds) && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the edit for another control of this window, not switching windows.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            onPressTimeEditLeft();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Qt also reports the restoring of the minimised window as a (spontaneous) showing; that
    // one must not move the window back to the middle of the screen.
    if (!event->spontaneous()) FormShow();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        // A non-local URL counts as a file with another extension.
        paths << (url.isLocalFile() ? LocalFileOfUrl(url) : url.toString());
    }
    event->acceptProposedAction();
    HandleDroppedFiles(paths);
}
