#include "scripted_prompts.h"

#include <gtest/gtest.h>

BoxAnswer ScriptedPrompts::ShowMessage(BoxKind kind, int textId, const QString& text,
                                       BoxButtons buttons) {
    PromptRecord r{PromptRecord::Message, kind, textId, text, buttons, {}};
    records.append(r);
    if (onPrompt) onPrompt(r);
    if (!answers.isEmpty()) return answers.takeFirst();
    if (buttons == BoxButtons::Ok && allowUnexpectedOk) return BoxAnswer::Ok;
    ADD_FAILURE() << "unexpected question " << textId << ": " << text.toStdString();
    return BoxAnswer::Closed;
}

QString ScriptedPrompts::NextPath(const char* what) {
    if (!paths.isEmpty()) return paths.takeFirst();
    ADD_FAILURE() << "unexpected " << what;
    return QString();
}

QString ScriptedPrompts::AskOpenFile(const FileDialogRequest& request) {
    records.append(
        {PromptRecord::OpenFile, BoxKind::Information, 0, request.title, BoxButtons::Ok, request});
    if (onPrompt) onPrompt(records.last());
    return NextPath("open dialog");
}

QString ScriptedPrompts::AskSaveFile(const FileDialogRequest& request) {
    records.append(
        {PromptRecord::SaveFile, BoxKind::Information, 0, request.title, BoxButtons::Ok, request});
    if (onPrompt) onPrompt(records.last());
    return NextPath("save dialog");
}

QString ScriptedPrompts::AskFolder(const QString& title, const QString& startFolder) {
    FileDialogRequest request{title, QString(), QString(), startFolder};
    records.append({PromptRecord::Folder, BoxKind::Information, 0, title, BoxButtons::Ok, request});
    if (onPrompt) onPrompt(records.last());
    return NextPath("folder picker");
}

QList<int> ScriptedPrompts::MessageIds() const {
    QList<int> ids;
    for (const PromptRecord& r : records)
        if (r.type == PromptRecord::Message) ids.append(r.textId);
    return ids;
}
