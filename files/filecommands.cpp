// The file commands of the main window: File > New, Open, Save, Save As, a dropped file, and the
// window title that names the file the window is bound to.

#include <QAction>
#include <QLineEdit>

#include "app/catalogue.h"
#include "app/mainwindow.h"
#include "app/prompts.h"
#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"

namespace {

const char* const kKorbiExtension = ".Korbi";
const char* const kKorbiPattern = "*.Korbi";

FileDialogRequest ConfigFileDialog(int titleId, const QString& fileName,
                                   const QString& startFolder) {
    return FileDialogRequest{Text(titleId), Text(10816) + "|" + kKorbiPattern, fileName,
                             startFolder};
}

void ClearText(QLineEdit* edit) {
    if (edit) edit->clear();
}

}  // namespace

void TfrmMain::mnuFileNewClick(QObject* sender) {
    const auto* action = qobject_cast<const QAction*>(sender);
    const bool v1 = action && action->property("Tag").toInt() == 1;
    const QString name = v1 ? "default_v1.bin" : "default_v2.bin";

    // The name is matched without regard to case. The spelling that start-up installs comes
    // first, so that a stray copy in another case cannot hide a template refreshed by an update.
    const QString installed = applicationDataFolder + (v1 ? "Default_v1.bin" : "Default_v2.bin");
    const QString path =
        PathExists(installed) ? installed : FindPathIgnoringCase(applicationDataFolder + name);
    ImageBytes bytes;
    int error = 0;
    if (!ReadImageFile(path, bytes, &error)) {
        ErrorBox(10811, {name}, FileErrorCause(error));
        SetStatusText(QString());
        return;
    }
    FillFileImage(fileImage, bytes, MarkFromFile);
    EnableGeneration2Controls(fileImage);
    const int result = DecodeConfigImage(fileImage, MarkFromFile);
    if (result == DecodeOk) {
        SetStatusText(Text(10821));
        configOrigin = OriginTemplate;
        ClearText(edtRadioCodeNew);
        UpdateCaption();
    } else if (result == DecodeBadProduct) {
        ErrorBox(10820);
    } else {
        ErrorBox(10817,
                 {QString::number(fileImage.cells[result & 0xFF].value), QString::number(result)});
    }
}

void TfrmMain::mnuFileOpenClick() {
    // Without a current file the dialog starts in the default folder; otherwise at that file.
    FileDialogRequest request = ConfigFileDialog(10802, kKorbiPattern, defaultFolder);
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
        ErrorBox(10822, {}, FileErrorCause(error));
        return;
    }
    ImageBytes bytes;
    if (!ReadImageFile(path, bytes, &error)) {
        ErrorBox(10806, {}, FileErrorCause(error));
        return;
    }
    currentFileName = path;
    FillFileImage(fileImage, bytes, MarkFromFile);
    // A drop and the command line keep the enabling that the controls had.
    if (kind == LoadKind::Open) EnableGeneration2Controls(fileImage);
    const int result = DecodeConfigImage(fileImage, MarkFromFile);
    if (result == DecodeOk) {
        configOrigin = OriginOpenedFile;
        ClearText(edtRadioCodeNew);
        UpdateCaption();
        if (kind == LoadKind::Drop) SetStatusText(FillText(10809, {FileNamePart(path)}));
    } else if (result == DecodeBadProduct) {
        ErrorBox(10820);
    } else {
        ErrorBox(10817,
                 {QString::number(fileImage.cells[result & 0xFF].value), QString::number(result)});
    }
}

void TfrmMain::HandleDroppedFiles(const QStringList& paths) {
    if (paths.size() != 1) {
        ErrorBox(10807);
        return;
    }
    const QString& path = paths.first();
    // Only an absolute local path can be a configuration file; a URL of another scheme counts
    // as a file with another extension.
    const QString extension = ExtensionOf(path).toLower();
    if (!path.startsWith('/') || (extension != ".korbi" && extension != ".bin")) {
        ErrorBox(10808);
        return;
    }
    LoadConfigurationFile(path, LoadKind::Drop);
}

void TfrmMain::mnuFileSaveClick() {
    if (configOrigin != OriginOpenedFile && configOrigin != OriginSavedFile) {
        mnuFileSaveAsClick();
        return;
    }
    EncodeConfigImage(fileImage, MarkToFile);
    WriteCurrentFile();
}

void TfrmMain::mnuFileSaveAsClick() {
    EncodeConfigImage(fileImage, MarkToFile);
    QString name = prompts().AskSaveFile(ConfigFileDialog(10814, kKorbiPattern, defaultFolder));
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
            prompts().ShowMessage(BoxKind::Information, 10801, Text(10801), BoxButtons::Ok);
            return;
        }
    }
    if (exists && prompts().ShowMessage(BoxKind::Information, 10813, Text(10813),
                                        BoxButtons::YesNo) != BoxAnswer::Yes)
        return;

    currentFileName = target;
    configOrigin = OriginSavedFile;
    WriteCurrentFile();
}

void TfrmMain::WriteCurrentFile() {
    int error = 0;
    if (WriteImageFile(currentFileName, ExtractImageBytes(fileImage), &error))
        SetStatusText(Text(10815));
    else
        ErrorBox(10812, {}, FileErrorCause(error));
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
            first = Text(10891);
            break;
        default:
            first = Text(10892);
            break;
    }
    SetCaption(first + " - " + Text(10000));
}
