#include "cli/configuration.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
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
    PrintError("korbi-cli: " + path + ": " + WithCause(Text(textId), FileErrorCause(error)) + '\n');
    return ExitUsage;
}

int AlreadyThere(const QString& path) {
    PrintError(
        QStringLiteral("Die Datei %1 gibt es schon; sie wird nicht überschrieben.\n").arg(path));
    return ExitUsage;
}

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
    const QString given = QFileInfo(target).fileName();
    struct stat shown {
    }, held{};
    const bool asWritten = QFile::encodeName(given) == place.name &&
                           stat(QFile::encodeName(QFileInfo(target).path()), &shown) == 0 &&
                           fstat(place.folder, &held) == 0 && shown.st_dev == held.st_dev &&
                           shown.st_ino == held.st_ino;
    if (asWritten) return target.left(target.size() - given.size()) + QFile::decodeName(name);
    char buffer[PATH_MAX];
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(place.folder);
    const ssize_t n = readlink(proc.constData(), buffer, sizeof buffer);
    const QString folder = n > 0 ? QFile::decodeName(QByteArray(buffer, static_cast<int>(n)))
                                 : QFileInfo(target).path();
    return folder + '/' + QFile::decodeName(name);
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

int SaveAsTarget(const QString& name, QString* target, FilePlace& place, int unusableId) {
    QString typed = name;
    if (ExtensionOf(typed).isEmpty()) typed += kKorbiExtension;
    *target = FindPathIgnoringCase(ReplaceExtension(typed, kKorbiExtension));
    for (const QString& path : {typed, *target}) {
        if (!PathExists(path)) continue;
        if (IsReadOnlyFile(path)) return FileError(path, Msg::FileReadOnly);
        return AlreadyThere(path);
    }
    int error = ResolveFilePlace(*target, place);
    if (!error && place.exists) return AlreadyThere(*target);  // only reachable by a link
    if (!error && faccessat(place.folder, ".", W_OK | X_OK, AT_EACCESS) != 0) error = errno;
    if (!error) return ExitDone;
    PrintError(WithCause(FillText(unusableId, {*target}), FileErrorCause(error)) +
               '\n');
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
