// The file commands of the main window: File > New, Open, Save, Save As, a dropped file, and the
// window title that names the file the window is bound to.

#include <QAction>

#include "app/mainwindow.h"
#include "app/prompts.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"
#include "files/templates.h"
#include "resources/catalogue.h"

namespace {

const char* const kKorbiExtension = ".Korbi";
const char* const kKorbiPattern = "*.Korbi";

FileDialogRequest ConfigFileDialog(int titleId, const QString& fileName,
                                   const QString& startFolder) {
    return FileDialogRequest{Text(titleId), Text(Msg::ConfigFileFilter) + "|" + kKorbiPattern,
                             fileName, startFolder};
}

}  // namespace

void TfrmMain::mnuFileNewClick(QObject* sender) {
    const auto* action = qobject_cast<const QAction*>(sender);
    const bool v1 = action && action->property("Tag").toInt() == 1;
    const QString name = v1 ? "default_v1.bin" : "default_v2.bin";

    const QString path = InstalledTemplatePath(applicationDataFolder, v1 ? 1 : 2);
    ImageBytes bytes;
    int error = 0;
    if (!ReadImageFile(path, bytes, &error)) {
        ErrorBox(Msg::TemplateNotFound, {name}, FileErrorCause(error));
        SetStatusText(QString());
        return;
    }
    FillFileImage(fileImage, bytes, MarkFromFile);
    const int result = Model().ShowFileImage(fileImage, true);
    if (result == DecodeOk) {
        SetStatusText(Text(Msg::TemplateLoaded));
        configOrigin = OriginTemplate;
        UpdateCaption();
    } else if (result == DecodeBadProduct) {
        ErrorBox(Msg::BadProduct);
    } else {
        ErrorBox(Msg::ConversionError,
                 {QString::number(fileImage.cells[result & 0xFF].value), QString::number(result)});
    }
}

void TfrmMain::mnuFileOpenClick() {
    // Without a current file the dialog starts in the default folder; otherwise at that file.
    FileDialogRequest request = ConfigFileDialog(Msg::OpenTitle, kKorbiPattern, defaultFolder);
    if (!currentFileName.isEmpty()) {
        request.fileName = FileNamePart(currentFileName);
        request.startFolder = FolderPart(currentFileName);
    }
    const QString path = prompts().AskOpenFile(request);
    if (path.isEmpty()) return;
    LoadConfigurationFile(path, LoadKind::Open);
}

void TfrmMain::LoadConfigurationFile(const QString& path, LoadKind kind) {
    // A file of another size is said by the text itself; a file that cannot be opened at all
    // gets its cause too.
    int error = 0;
    if (GetImageFileSize(path, &error) != kImageSize) {
        ErrorBox(Msg::BadFileSize, {}, FileErrorCause(error));
        return;
    }
    ImageBytes bytes;
    if (!ReadImageFile(path, bytes, &error)) {
        ErrorBox(Msg::FileNotLoaded, {}, FileErrorCause(error));
        return;
    }
    currentFileName = path;
    FillFileImage(fileImage, bytes, MarkFromFile);
    // A drop and the command line keep the enabling that the controls had.
    const int result = Model().ShowFileImage(fileImage, kind == LoadKind::Open);
    if (result == DecodeOk) {
        configOrigin = OriginOpenedFile;
        UpdateCaption();
        if (kind == LoadKind::Drop) SetStatusText(FillText(Msg::FileOpened, {FileNamePart(path)}));
    } else if (result == DecodeBadProduct) {
        ErrorBox(Msg::BadProduct);
    } else {
        ErrorBox(Msg::ConversionError,
                 {QString::number(fileImage.cells[result & 0xFF].value), QString::number(result)});
    }
}

void TfrmMain::HandleDroppedFiles(const QStringList& paths) {
    if (paths.size() != 1) {
        ErrorBox(Msg::DropOneFileOnly);
        return;
    }
    const QString& path = paths.first();
    // Only an absolute local path can be a configuration file; a URL of another scheme counts
    // as a file with another extension.
    const QString extension = ExtensionOf(path).toLower();
    if (!path.startsWith('/') || (extension != ".korbi" && extension != ".bin")) {
        ErrorBox(Msg::DropNotAConfiguration);
        return;
    }
    LoadConfigurationFile(path, LoadKind::Drop);
}

void TfrmMain::mnuFileSaveClick() {
    if (configOrigin != OriginOpenedFile && configOrigin != OriginSavedFile) {
        mnuFileSaveAsClick();
        return;
    }
    Model().EncodeConfigImage(fileImage, MarkToFile);
    WriteCurrentFile();
}

void TfrmMain::mnuFileSaveAsClick() {
    Model().EncodeConfigImage(fileImage, MarkToFile);
    QString name =
        prompts().AskSaveFile(ConfigFileDialog(Msg::SaveAsTitle, kKorbiPattern, defaultFolder));
    if (name.isEmpty()) return;
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

    currentFileName = target;
    configOrigin = OriginSavedFile;
    WriteCurrentFile();
}

void TfrmMain::WriteCurrentFile() {
    int error = 0;
    if (WriteImageFile(currentFileName, ExtractImageBytes(fileImage), &error))
        SetStatusText(Text(Msg::FileSaved));
    else
        ErrorBox(Msg::FileNotSaved, {}, FileErrorCause(error));
    UpdateCaption();
}

void TfrmMain::UpdateCaption() {
    QString first;
    switch (configOrigin) {
        case OriginOpenedFile:
        case OriginSavedFile:
            first = FileNamePart(currentFileName);
            break;
        case OriginDevice:
            first = Text(Msg::OriginDeviceCaption);
            break;
        default:
            first = Text(Msg::OriginTemplateCaption);
            break;
    }
    SetCaption(first + " - " + Text(Msg::ProgramName));
}
