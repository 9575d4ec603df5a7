#include "files/startupsteps.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "files/filenames.h"
#include "files/imagefile.h"
#include "files/settingsfile.h"
#include "resources/catalogue.h"

namespace {

// Creates path and any missing parent; the last folder gets mode (under the umask). True when
// the folder exists afterwards.
bool CreateFolderPath(const QString& path, mode_t mode) {
    const QString folder = WithoutTrailingDelimiter(path);
    if (folder.isEmpty()) return false;
    if (IsExistingFolder(folder)) return true;
    const QString parent = FolderPart(folder);
    if (!parent.isEmpty() && parent != folder && !CreateFolderPath(parent, 0777)) return false;
    mkdir(QFile::encodeName(folder).constData(), mode);
    return IsExistingFolder(folder);
}

// Creates a folder if missing; failures are not reported, the path is used all the same.
void CreateFolder(const QString& path) {
    mkdir(QFile::encodeName(WithoutTrailingDelimiter(path)).constData(), 0777);
}

QStringList WithoutOptions(const QStringList& arguments) {
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i)
        if (i == 0 || !IsOptionArgument(arguments[i])) kept << arguments[i];
    return kept;
}

const QString kSetup = "Setup";
const QString kConfigDirectory = "ConfigDirectory";
const QString kAppVersion = "AppVersion";

}  // namespace

QString ApplicationDataFolderPath(const QString& commonDataFolder) {
    if (commonDataFolder.isEmpty()) return QString();
    QString subPath = Text(Msg::DataSubPath);
    subPath.replace('\\', '/');
    return WithoutTrailingDelimiter(commonDataFolder) + subPath;
}

QString FindApplicationDataFolder(const QString& commonDataFolder, int* error) {
    errno = ENOENT;
    const QString folder = ApplicationDataFolderPath(commonDataFolder);
    const bool usable = !folder.isEmpty() && CreateFolderPath(commonDataFolder, 0700) &&
                        CreateFolderPath(folder, 0777) &&
                        access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
    // A file where a folder of the path should be makes mkdir say EEXIST.
    if (error) *error = usable ? 0 : errno == EEXIST ? ENOTDIR : errno;
    return usable ? folder : QString();
}

QString FindDocumentFolder(const QString& commonDocumentsFolder) {
    if (commonDocumentsFolder.isEmpty() || !CreateFolderPath(commonDocumentsFolder, 0777))
        return QString();
    const QString common = WithoutTrailingDelimiter(commonDocumentsFolder);
    CreateFolder(common + "/TALO/");
    CreateFolder(common + "/TALO/K-ORBI config/");
    return common + "/TALO/K-ORBI config/";
}

QString ShippedFilesFolder(const QString& programFolder) {
    for (const char* shipped : {"Values.i", "Default_v1.b", "Default_v2.b"})
        if (IsExistingFile(programFolder + shipped)) return programFolder;
    return QDir::cleanPath(programFolder + "../share/korbi-programmer") + "/";
}

InstalledSettings InstallShippedFiles(const QString& shippedFolder,
                                      const QString& applicationDataFolder,
                                      const QString& programVersion) {
    if (applicationDataFolder.isEmpty()) return {};
    const QString settingsFile = SettingsFilePath(applicationDataFolder);
    InstalledSettings installed;
    QString previousFolder;
    bool versionChanged = false;
    // After one refusal the settings file is left alone: the user hears of it once.
    auto write = [&](const QString& key, const QString& value) {
        if (!installed.refusedFile.isEmpty()) return;
        if (!WriteSetting(settingsFile, kSetup, key, value, &installed.refusedError))
            installed.refusedFile = settingsFile;
    };

    if (IsExistingFile(shippedFolder + "Values.i")) {
        if (PathExists(settingsFile)) {
            previousFolder = ReadSetting(settingsFile, kSetup, kConfigDirectory);
            const QString storedVersion = ReadSetting(settingsFile, kSetup, kAppVersion);
            if (storedVersion != programVersion) {
                versionChanged = true;
                CopyTemplateFile(shippedFolder, "Values.i", applicationDataFolder, "Values.ini");
                if (!previousFolder.isEmpty()) write(kConfigDirectory, previousFolder);
                write(kAppVersion, programVersion);
            }
        } else {
            CopyTemplateFile(shippedFolder, "Values.i", applicationDataFolder, "Values.ini");
            write(kAppVersion, programVersion);
        }
    }

    for (const char* generation : {"1", "2"}) {
        const QString shipped = QString("Default_v%1.b").arg(generation);
        const QString target = QString("Default_v%1.bin").arg(generation);
        if (IsExistingFile(shippedFolder + shipped) &&
            (versionChanged || !PathExists(applicationDataFolder + target)))
            CopyTemplateFile(shippedFolder, shipped, applicationDataFolder, target);
    }

    installed.configDirectory = ReadSetting(settingsFile, kSetup, kConfigDirectory);
    if (installed.configDirectory.isEmpty() && !installed.refusedFile.isEmpty())
        installed.configDirectory = previousFolder;
    return installed;
}

bool IsOptionArgument(const QString& argument) {
    return argument.startsWith("--");
}

QString CommandLineFolder(const QStringList& arguments) {
    const QStringList kept = WithoutOptions(arguments);
    for (int i = 1; i < kept.size() - 1; ++i)
        if (IsExistingFolder(kept[i])) return kept[i];
    return QString();
}

QString CommandLineFile(const QStringList& arguments) {
    const QStringList kept = WithoutOptions(arguments);
    for (int i = 1; i < kept.size(); ++i)
        if (IsExistingFile(kept[i])) return kept[i];
    return QString();
}
