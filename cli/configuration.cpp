#include "cli/configuration.h"

#include "cli/context.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"
#include "files/templates.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

const char* const kKorbiExtension = ".Korbi";

// The file, the message, and what the system said about the file when it said something.
int FileError(const QString& path, int textId, int error = 0) {
    PrintError("korbi-cli: " + path + ": " + WithCause(Text(textId), FileErrorCause(error)) + '\n');
    return ExitUsage;
}

}  // namespace

BoxAnswer TerminalMessages::ShowMessage(BoxKind, int textId, const QString& text,
                                        BoxButtons buttons) {
    ids << textId;
    texts << text;
    if (echo) PrintError(text + '\n');
    return buttons == BoxButtons::Ok ? BoxAnswer::Ok : questionAnswer;
}

// Start-up shows the v2.x template before anything else, and the view that a file is opened
// into starts from it. Without an installed template (the window has never run) the start
// values it is made of stand in.
Configuration::Configuration(const QString& applicationDataFolder) {
    ImageBytes bytes;
    if (applicationDataFolder.isEmpty() ||
        !ReadImageFile(InstalledTemplatePath(applicationDataFolder, 2), bytes))
        bytes = StartTemplate(2);
    messages.echo = false;
    FillFileImage(fileImage, bytes, MarkFromFile);
    model.ShowFileImage(fileImage, true);
    messages.ids.clear();
    messages.texts.clear();
    messages.echo = true;
}

int OpenConfiguration(Configuration& configuration, const QString& path, bool* taken) {
    *taken = false;
    int error = 0;
    if (GetImageFileSize(path, &error) != kImageSize)
        return FileError(path, Msg::BadFileSize, error);
    ImageBytes bytes;
    if (!ReadImageFile(path, bytes, &error)) return FileError(path, Msg::FileNotLoaded, error);
    FillFileImage(configuration.fileImage, bytes, MarkFromFile);
    if (configuration.model.ShowFileImage(configuration.fileImage, true) == DecodeOk) {
        *taken = true;
    } else {
        // A file yields only DecodeOk or a foreign product: every cell carries the mark.
        // The message is kept among the file's messages and named with its file on the terminal.
        TerminalMessages& messages = configuration.messages;
        const bool echo = messages.echo;
        messages.echo = false;
        ErrorBox(messages, Msg::BadProduct);
        messages.echo = echo;
        PrintError("korbi-cli: " + path + ": " + messages.texts.last() + '\n');
    }
    return ExitDone;
}

bool SaveConfiguration(Configuration& configuration, const QString& path) {
    configuration.model.EncodeConfigImage(configuration.fileImage, MarkToFile);
    int error = 0;
    if (WriteImageFile(path, ExtractImageBytes(configuration.fileImage), &error)) return true;
    FileError(path, Msg::FileNotSaved, error);
    return false;
}

int SaveAsTarget(const QString& name, QString* target) {
    QString typed = name;
    if (ExtensionOf(typed).isEmpty()) typed += kKorbiExtension;
    *target = FindPathIgnoringCase(ReplaceExtension(typed, kKorbiExtension));
    for (const QString& path : {typed, *target}) {
        if (!PathExists(path)) continue;
        if (IsReadOnlyFile(path)) return FileError(path, Msg::FileReadOnly);
        PrintError(QStringLiteral("Die Datei %1 gibt es schon; sie wird nicht überschrieben.\n")
                       .arg(path));
        return ExitUsage;
    }
    return ExitDone;
}

int SaveConfigurationAs(Configuration& configuration, const QString& target) {
    configuration.model.EncodeConfigImage(configuration.fileImage, MarkToFile);
    int error = 0;
    if (!WriteImageFile(target, ExtractImageBytes(configuration.fileImage), &error))
        return FileError(target, Msg::FileNotSaved, error);
    return ExitDone;
}
