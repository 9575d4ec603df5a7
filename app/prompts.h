#pragma once
// The one way the program asks or tells the user anything: message boxes, the file dialogs and
// the folder picker. The window holds a Prompts; tests hand it a scripted one.

#include <QString>

enum class BoxKind { Error, Information, Confirmation, Warning };
enum class BoxButtons { Ok, YesNo, YesNoAbort };
enum class BoxAnswer { Ok, Yes, No, Abort, Closed };

struct FileDialogRequest {
    QString title;
    QString filter;       // "Description|*.ext" as the file commands give it
    QString fileName;     // preset name, e.g. "*.Korbi" or the current file's name
    QString startFolder;  // folder without trailing delimiter
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // textId is the catalogue id of the text (0 for a text that is not in the catalogue);
    // text is the text as shown, already filled.
    virtual BoxAnswer ShowMessage(BoxKind kind, int textId, const QString& text,
                                  BoxButtons buttons) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual QString AskOpenFile(const FileDialogRequest& request) = 0;
    virtual QString AskSaveFile(const FileDialogRequest& request) = 0;
    virtual QString AskFolder(const QString& title, const QString& startFolder) = 0;
};
