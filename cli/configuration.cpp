#include "cli/configuration.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "cli/context.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/filewrite.h"
#include "files/imagefile.h"
#include "files/templates.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

const char* const kKorbiExtension = ".Korbi";

// The file, the message, and what the system said about the file when it said something.
int FileError(const QString& path, int textId, int error = 0) {
    PrintProblem(path + ": " + WithCause(Text(textId), FileErrorCause(error)));
    return ExitUsage;
}

}  // namespace

int AlreadyThere(const QString& path) {
    PrintProblem(QStringLiteral("Die Datei %1 gibt es schon; sie wird nicht überschrieben.")
                     .arg(Quoted(path)));
    return ExitUsage;
}

namespace {

constexpr int kMaxFreeNameNumber = 99;

// "anlage (2).Korbi" for "anlage.Korbi" and 2.
QByteArray NumberedName(const QByteArray& name, int number) {
    const int dot = name.lastIndexOf('.');
    const int stem = dot > 0 ? dot : name.size();
    return name.left(stem) + " (" + QByteArray::number(number) + ")" + name.mid(stem);
}

// The path of name in the place's folder, for the user and the journal: as the user wrote the
// target while that still leads to the folder, else (a link at the target led elsewhere, or
// the folder was moved during the read) the folder's own path.
QString PathInFolder(const QString& target, const FilePlace& place, const QByteArray& name) {
    const QString given = FileNamePart(target);
    const QString shownFolder = FolderPart(target).isEmpty() ? QString(".") : FolderPart(target);
    struct stat shown {
    }, held{};
    const bool asWritten = FileNameBytes(given) == place.name &&
                           stat(FileNameBytes(shownFolder).constData(), &shown) == 0 &&
                           fstat(place.folder, &held) == 0 && shown.st_dev == held.st_dev &&
                           shown.st_ino == held.st_ino;
    if (asWritten) return target.left(target.size() - given.size()) + FileNameFromBytes(name);
    char buffer[PATH_MAX];
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(place.folder);
    const ssize_t n = readlink(proc.constData(), buffer, sizeof buffer);
    const QString folder =
        n > 0 ? FileNameFromBytes(QByteArray(buffer, static_cast<int>(n))) : shownFolder;
    return folder + '/' + FileNameFromBytes(name);
}

}  // namespace

BoxAnswer TerminalMessages::ShowMessage(BoxKind kind, int textId, const QString& text,
                                        BoxButtons buttons) {
    ids << textId;
    texts << text;
    // What the window shows in an error box is an error line on the terminal.
    if (echo && kind == BoxKind::Error)
        PrintProblem(text);
    else if (echo)
        PrintError(text + '\n');
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
    const qint64 size = GetImageFileSize(path, &error);
    // A file that is missing or cannot be opened is said so; its size says nothing then.
    if (error != 0) return FileError(path, Msg::FileNotLoaded, error);
    if (size != kImageSize) return FileError(path, Msg::BadFileSize);
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
        PrintProblem(path + ": " + messages.texts.last());
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

int SaveAsTarget(const QString& name, QString* target, FilePlace& place, int unusableId) {
    QString typed = name;
    if (ExtensionOf(typed).isEmpty()) typed += kKorbiExtension;
    *target = FindPathIgnoringCase(ReplaceExtension(typed, kKorbiExtension));
    for (const QString& path : {typed, *target}) {
        if (!PathExists(path)) continue;
        // A pipe or a folder under the name is neither read-only nor a file that is there.
        if (const int notAFile = NotAFileError(path)) {
            PrintError("korbi-cli: " + path + ": " + FileErrorCause(notAFile) + '\n');
            return ExitUsage;
        }
        if (IsReadOnlyFile(path)) return FileError(path, Msg::FileReadOnly);
        return AlreadyThere(path);
    }
    int error = ResolveFilePlace(*target, place);
    if (!error && place.exists) return AlreadyThere(*target);  // only reachable by a link
    if (!error && faccessat(place.folder, ".", W_OK | X_OK, AT_EACCESS) != 0) error = errno;
    if (!error) return ExitDone;
    PrintProblem(WithCause(FillText(unusableId, {*target}), FileErrorCause(error)));
    return ExitUsage;
}

int SaveConfigurationAs(Configuration& configuration, const QString& target, const FilePlace& place,
                        QString* saved) {
    configuration.model.EncodeConfigImage(configuration.fileImage, MarkToFile);
    const ImageBytes bytes = ExtractImageBytes(configuration.fileImage);
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), kImageSize);
    QByteArray name = place.name;
    for (int number = 2;; ++number) {
        const int error = WriteNewFile(place, name, data);
        if (error == 0) break;
        if (error != EEXIST || number > kMaxFreeNameNumber)
            return FileError(target, Msg::FileNotSaved, error);
        name = NumberedName(place.name, number);
    }
    *saved = PathInFolder(target, place, name);
    if (name != place.name)
        PrintError(FillText(Msg::ReadSavedUnderOtherName, {target, *saved}) + '\n');
    return ExitDone;
}
