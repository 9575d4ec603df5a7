#include "app/filecommands.h"

#include <QDate>

#include "app/prompts.h"
#include "config/settingsmodel.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"
#include "files/recentfiles.h"
#include "files/settingsfile.h"
#include "files/templates.h"
#include "jobs/jobhost.h"
#include "resources/catalogue.h"

namespace {

const char* const kKorbiExtension = ".Korbi";
const char* const kKorbiPattern = "*.Korbi";
// Open lists what a drop takes too, and lets the user see every file.
const char* const kOpenPatterns = "*.Korbi;*.bin|Alle Dateien|*";

FileDialogRequest ConfigFileDialog(int titleId, const QString& fileName, const QString& startFolder,
                                   const char* patterns) {
    return FileDialogRequest{Text(titleId), Text(Msg::ConfigFileFilter) + "|" + patterns, fileName,
                             startFolder};
}

// A wildcard is no file name: the dialog would save a file called "*.Korbi".
bool HoldsWildcard(const QString& path) {
    const QString name = FileNamePart(path);
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

}  // namespace

void FileCommands::New(int generation) {
    const bool v1 = generation == 1;
    const QString name = v1 ? "default_v1.bin" : "default_v2.bin";

    const QString path = InstalledTemplatePath(binding_.applicationDataFolder, v1 ? 1 : 2);
    ImageBytes bytes;
    int error = 0;
    if (!ReadImageFile(path, bytes, &error)) {
        ::ErrorBox(prompts(), Msg::TemplateNotFound, {name}, FileErrorCause(error));
        view_.SetStatusText(QString());
        return;
    }
    if (!MayReplaceView()) return;
    FillFileImage(binding_.fileImage, bytes, MarkFromFile);
    if (!ShowFileImage(true)) return;
    templateGeneration_ = v1 ? 1 : 2;
    view_.SetStatusText(Text(Msg::TemplateLoaded));
    binding_.configOrigin = OriginTemplate;
    UpdateCaption();
}

void FileCommands::Open() {
    // Without a current file the dialog starts in the default folder; otherwise at that file.
    FileDialogRequest request =
        ConfigFileDialog(Msg::OpenTitle, kKorbiPattern, binding_.defaultFolder, kOpenPatterns);
    if (!binding_.currentFileName.isEmpty()) {
        request.fileName = FileNamePart(binding_.currentFileName);
        request.startFolder = FolderPart(binding_.currentFileName);
    }
    const QString path = prompts().AskOpenFile(request);
    if (path.isEmpty()) return;
    LoadConfigurationFile(path, LoadKind::Open);
}

void FileCommands::LoadConfigurationFile(const QString& path, LoadKind kind) {
    // A file of another size is said by the text itself; a file that cannot be opened at all
    // gets its cause too.
    int error = 0;
    if (GetImageFileSize(path, &error) != kImageSize) {
        ::ErrorBox(prompts(), Msg::BadFileSize, {}, FileErrorCause(error));
        return;
    }
    // The question about unsaved edits comes before the read: answered with Speichern while this
    // very file is open, the save changes the file, and the view must show what it holds now.
    if (!MayReplaceView()) return;
    ImageBytes bytes;
    if (!ReadImageFile(path, bytes, &error)) {
        ::ErrorBox(prompts(), Msg::FileNotLoaded, {}, FileErrorCause(error));
        return;
    }
    binding_.currentFileName = path;
    FillFileImage(binding_.fileImage, bytes, MarkFromFile);
    // A drop and the command line keep the enabling that the controls had.
    if (!ShowFileImage(kind == LoadKind::Open)) return;
    binding_.configOrigin = OriginOpenedFile;
    RememberFile();
    UpdateCaption();
    // A file that arrived without the user picking it (a drop, the command line, a hand-over from
    // a second start) is named; the status line would otherwise still speak of the template.
    if (kind != LoadKind::Open)
        view_.SetStatusText(FillText(Msg::FileOpened, {FileNamePart(path)}));
}

void FileCommands::ShowDeviceBytes(const ImageBytes& bytes, const QString& statusText) {
    FillFileImage(binding_.fileImage, bytes, MarkFromFile);
    if (!ShowFileImage(true)) return;
    view_.SetStatusText(statusText);
    binding_.configOrigin = OriginDevice;
    UpdateCaption();
}

bool FileCommands::ShowFileImage(bool setEnabling) {
    const int result = model_.ShowFileImage(binding_.fileImage, setEnabling);
    if (result == DecodeOk) return true;
    if (result == DecodeBadProduct)
        ::ErrorBox(prompts(), Msg::BadProduct);
    else
        ::ErrorBox(prompts(), Msg::ConversionError,
                   {QString::number(binding_.fileImage.cells[result & 0xFF].value),
                    QString::number(result)});
    return false;
}

void FileCommands::HandleDroppedFiles(const QStringList& paths) {
    if (paths.size() != 1) {
        ::ErrorBox(prompts(), Msg::DropOneFileOnly);
        return;
    }
    const QString& path = paths.first();
    // Only an absolute local path can be a configuration file; a URL of another scheme counts
    // as a file with another extension.
    const QString extension = ExtensionOf(path).toLower();
    if (!path.startsWith('/') || (extension != ".korbi" && extension != ".bin")) {
        ::ErrorBox(prompts(), Msg::DropNotAConfiguration);
        return;
    }
    LoadConfigurationFile(path, LoadKind::Drop);
}

void FileCommands::Save() {
    if (binding_.configOrigin != OriginOpenedFile && binding_.configOrigin != OriginSavedFile) {
        SaveAs();
        return;
    }
    model_.EncodeConfigImage(binding_.fileImage, MarkToFile);
    WriteCurrentFile();
}

void FileCommands::SaveAs() {
    model_.EncodeConfigImage(binding_.fileImage, MarkToFile);
    QString name = prompts().AskSaveFile(ConfigFileDialog(Msg::SaveAsTitle, ProposedSaveName(),
                                                          binding_.defaultFolder, kKorbiPattern));
    if (name.isEmpty()) return;
    if (HoldsWildcard(name)) {
        ::ErrorBox(prompts(), Msg::FileNotSaved);
        return;
    }
    if (ExtensionOf(name).isEmpty()) name += kKorbiExtension;

    // The file written always ends in ".Korbi". When the typed name had another extension that
    // file is not the one the user named, so it gets the same existence and read-only checks.
    // Names are written as typed: on Linux "ANLAGE.Korbi" and "anlage.Korbi" are two files.
    const QString target = ReplaceExtension(name, kKorbiExtension);
    QStringList checked{name};
    if (target != name) checked << target;
    bool exists = false;
    for (const QString& path : checked) {
        if (!PathExists(path)) continue;
        exists = true;
        if (IsReadOnlyFile(path)) {
            prompts().ShowMessage(BoxKind::Information, Msg::FileReadOnly, Text(Msg::FileReadOnly),
                                  BoxButtons::Ok);
            return;
        }
    }
    if (exists &&
        prompts().ShowMessage(BoxKind::Information, Msg::FileExistsOverwrite,
                              Text(Msg::FileExistsOverwrite), BoxButtons::YesNo) != BoxAnswer::Yes)
        return;

    binding_.currentFileName = target;
    binding_.configOrigin = OriginSavedFile;
    WriteCurrentFile();
}

// After a read the device's radio ID code and the day, so that the files of a round of devices
// tell themselves apart; otherwise the name of the template or file shown.
QString FileCommands::ProposedSaveName() const {
    switch (binding_.configOrigin) {
        case OriginDevice: {
            const QString code = model_.Text(Field::radioCode);
            return (code.isEmpty() ? QStringLiteral("K-ORBI") : code) + '_' +
                   QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + kKorbiExtension;
        }
        case OriginOpenedFile:
        case OriginSavedFile:
            return ReplaceExtension(FileNamePart(binding_.currentFileName), kKorbiExtension);
        default:
            return ReplaceExtension(FileNamePart(InstalledTemplatePath(
                                        binding_.applicationDataFolder, templateGeneration_)),
                                    kKorbiExtension);
    }
}

void FileCommands::WriteCurrentFile() {
    int error = 0;
    if (WriteImageFile(binding_.currentFileName, ExtractImageBytes(binding_.fileImage), &error)) {
        // The file now holds what the view shows.
        model_.MarkClean();
        RememberFile();
        view_.SetStatusText(Text(Msg::FileSaved));
    } else
        ::ErrorBox(prompts(), Msg::FileNotSaved, {}, FileErrorCause(error));
    UpdateCaption();
}

void FileCommands::RememberFile() const {
    RememberRecentFile(SettingsFilePath(binding_.applicationDataFolder), binding_.currentFileName);
}

void FileCommands::UpdateCaption() {
    QString first;
    switch (binding_.configOrigin) {
        case OriginOpenedFile:
        case OriginSavedFile:
            first = FileNamePart(binding_.currentFileName);
            break;
        case OriginDevice:
            first = Text(Msg::OriginDeviceCaption);
            break;
        default:
            first = Text(Msg::OriginTemplateCaption);
            break;
    }
    view_.SetCaption(first + " - " + Text(Msg::ProgramName));
}
