#pragma once
// A scripted user: records every box and dialog the program shows, answers them from a queue,
// and fails the test on a box that nobody expected.

#include <QList>
#include <QString>
#include <functional>

#include "app/prompts.h"

struct PromptRecord {
    enum Type { Message, OpenFile, SaveFile, Folder } type;
    BoxKind kind = BoxKind::Error;
    int textId = 0;
    QString text;
    BoxButtons buttons = BoxButtons::Ok;
    FileDialogRequest request;  // for the file dialogs; title and startFolder for the folder
};

class ScriptedPrompts : public Prompts {
  public:
    // Answers to message boxes, taken in order. A box with only an OK button needs no answer
    // when allowUnexpectedOk is set.
    QList<BoxAnswer> answers;
    // Answers to the file dialogs and the folder picker, taken in order ("" = cancel).
    QList<QString> paths;
    // Runs when a box is shown (e.g. to press the device's button during a wait).
    std::function<void(const PromptRecord&)> onPrompt;
    bool allowUnexpectedOk = true;

    QList<PromptRecord> records;

    BoxAnswer ShowMessage(BoxKind kind, int textId, const QString& text,
                          BoxButtons buttons) override;
    QString AskOpenFile(const FileDialogRequest& request) override;
    QString AskSaveFile(const FileDialogRequest& request) override;
    QString AskFolder(const QString& title, const QString& startFolder) override;

    // The text ids of all message boxes shown, in order.
    QList<int> MessageIds() const;
    void Clear() { records.clear(); }

  private:
    QString NextPath(const char* what);
};
