#include "app/qtprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "resources/catalogue.h"

namespace {

struct KindLook {
    const char* title;
    QMessageBox::Icon icon;
};

KindLook LookOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error:
            return {ToolkitText::ErrorTitle, QMessageBox::Critical};
        case BoxKind::Information:
            return {ToolkitText::InformationTitle, QMessageBox::Information};
        case BoxKind::Confirmation:
            return {ToolkitText::ConfirmationTitle, QMessageBox::Question};
        case BoxKind::Warning:
            return {ToolkitText::WarningTitle, QMessageBox::Warning};
    }
    return {ToolkitText::InformationTitle, QMessageBox::Information};
}

}  // namespace

QWidget* QtPrompts::Parent() const {
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

BoxAnswer QtPrompts::ShowMessage(BoxKind kind, int /*textId*/, const QString& text,
                                 BoxButtons buttons) {
    const KindLook look = LookOf(kind);
    QMessageBox box(Parent());
    box.setWindowTitle(QString::fromUtf8(look.title));
    box.setIcon(look.icon);
    // Plain text: some messages contain "<" and ">" and must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);

    struct Choice {
        const char* caption;
        QMessageBox::ButtonRole role;
        BoxAnswer answer;
    };
    QList<Choice> choices;
    QByteArray save, discard, cancel;  // hold the catalogue's captions for the choices
    if (buttons == BoxButtons::Ok) {
        choices = {{ToolkitText::Ok, QMessageBox::AcceptRole, BoxAnswer::Ok}};
    } else if (buttons == BoxButtons::SaveDiscardCancel) {
        save = Text(Msg::UnsavedSave).toUtf8();
        discard = Text(Msg::UnsavedDiscard).toUtf8();
        cancel = Text(Msg::UnsavedCancel).toUtf8();
        choices = {{save.constData(), QMessageBox::AcceptRole, BoxAnswer::Yes},
                   {discard.constData(), QMessageBox::DestructiveRole, BoxAnswer::No},
                   {cancel.constData(), QMessageBox::RejectRole, BoxAnswer::Abort}};
    } else {
        choices = {{ToolkitText::Yes, QMessageBox::YesRole, BoxAnswer::Yes},
                   {ToolkitText::No, QMessageBox::NoRole, BoxAnswer::No}};
        if (buttons == BoxButtons::YesNoAbort)
            choices.append({ToolkitText::Abort, QMessageBox::RejectRole, BoxAnswer::Abort});
    }
    QList<QPushButton*> pushButtons;
    for (const Choice& choice : choices)
        pushButtons.append(box.addButton(QString::fromUtf8(choice.caption), choice.role));
    box.setDefaultButton(pushButtons[buttons == BoxButtons::YesNoDefaultNo ? 1 : 0]);
    // Escape and the close box answer OK or No: a question left unanswered takes neither the
    // step it offers nor the Abort that throws away the work around it.
    // A question about unsaved edits left unanswered keeps them and the window: Abbrechen.
    box.setEscapeButton(pushButtons[buttons == BoxButtons::Ok                  ? 0
                                    : buttons == BoxButtons::SaveDiscardCancel ? 2
                                                                               : 1]);

    box.exec();
    const int clicked = pushButtons.indexOf(static_cast<QPushButton*>(box.clickedButton()));
    return clicked < 0 ? BoxAnswer::Closed : choices[clicked].answer;
}

QString QtNameFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2) return filter;
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified());
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtPrompts::AskFile(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(Parent(), request.title);
    dialog.setNameFilter(QtNameFilter(request.filter));
    if (!request.startFolder.isEmpty() && QDir(request.startFolder).exists())
        dialog.setDirectory(request.startFolder);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The save command asks its own overwrite question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

QString QtPrompts::AskOpenFile(const FileDialogRequest& request) {
    return AskFile(request, false);
}

QString QtPrompts::AskSaveFile(const FileDialogRequest& request) {
    return AskFile(request, true);
}

QString QtPrompts::AskFolder(const QString& title, const QString& startFolder) {
    const QString start =
        !startFolder.isEmpty() && QDir(startFolder).exists() ? startFolder : QString();
    return QFileDialog::getExistingDirectory(Parent(), title, start, QFileDialog::ShowDirsOnly);
}
