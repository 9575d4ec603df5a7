#include "config/messages.h"

#include "resources/catalogue.h"

void ErrorBox(Messages& messages, int textId, const QStringList& args, const QString& cause) {
    const QString text = FillText(textId, args);
    messages.ShowMessage(BoxKind::Error, textId, cause.isEmpty() ? text : text + "\n\n" + cause,
                         BoxButtons::Ok);
}

void InformationBox(Messages& messages, int textId, const QStringList& args) {
    messages.ShowMessage(BoxKind::Information, textId, FillText(textId, args), BoxButtons::Ok);
}

BoxAnswer AskQuestion(Messages& messages, int textId, const QStringList& args, BoxButtons buttons) {
    return messages.ShowMessage(BoxKind::Information, textId, FillText(textId, args), buttons);
}
