#pragma once
// The one way the program asks or tells the user anything: message boxes, the file dialogs and
// the folder picker. The window holds a Prompts; tests hand it a scripted one.

#include <QString>

#include "config/messages.h"

struct FileDialogRequest {
    QString title;
    QString filter;       // "Description|*.ext" as the file commands give it
    QString fileName;     // preset name, e.g. "*.Korbi" or the current file's name
    QString startFolder;  // folder without trailing delimiter
};

// Message boxes come from Messages; the file dialogs and the folder picker are the window's own.
class Prompts : public Messages {
  public:
    // The chosen path, or an empty text when the user cancelled.
    virtual QString AskOpenFile(const FileDialogRequest& request) = 0;
    virtual QString AskSaveFile(const FileDialogRequest& request) = 0;
    virtual QString AskFolder(const QString& title, const QString& startFolder) = 0;
};
