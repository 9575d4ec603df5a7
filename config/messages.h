#pragma once
// How the program tells the user something or asks: errors, information and questions. The
// window answers with message boxes; a test or a terminal tool answers in its own way.

#include <QString>
#include <QStringList>

enum class BoxKind { Error, Information, Confirmation, Warning };
// SaveDiscardCancel answers Yes (save), No (discard) or Abort (cancel).
// YesNoDefaultNo: a question whose Yes gives away something that cannot be taken back.
enum class BoxButtons { Ok, YesNo, YesNoDefaultNo, YesNoAbort, SaveDiscardCancel };
enum class BoxAnswer { Ok, Yes, No, Abort, Closed };

class Messages {
  public:
    virtual ~Messages() = default;
    // textId is the catalogue id of the text (0 for a text that is not in the catalogue);
    // text is the text as shown, already filled.
    virtual BoxAnswer ShowMessage(BoxKind kind, int textId, const QString& text,
                                  BoxButtons buttons) = 0;
};

// A catalogue text filled with args, in a box with one OK button. A cause, when there is one,
// follows as a second paragraph.
void ErrorBox(Messages& messages, int textId, const QStringList& args = {},
              const QString& cause = {});
void InformationBox(Messages& messages, int textId, const QStringList& args = {});
// A catalogue text filled with args as a question; the answer the user gave.
BoxAnswer AskQuestion(Messages& messages, int textId, const QStringList& args, BoxButtons buttons);
