#include "app/platform.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "version_record.h"

AppEnvironment PlatformEnvironment(const QStringList& arguments) {
    AppEnvironment env;
    env.arguments = arguments;
    // Empty when the platform knows no such folder; start-up then falls back to the program's
    // own folder.
    env.commonDataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    env.commonDocumentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    env.programFolder = QCoreApplication::applicationDirPath() + "/";
    // A site's settings belong in /etc when the program is installed.
    env.siteConfigFolder = QStringLiteral("/etc/korbi-programmer/");
    env.version = ProgramVersionRecord();
    return env;
}

VersionRecord ProgramVersionRecord() {
    return VersionRecord{QString::fromUtf8(KORBI_FILE_DESCRIPTION),
                         QString::fromUtf8(KORBI_FILE_VERSION), QString::fromUtf8(KORBI_COMMENTS)};
}

QString ProgramFileVersion() {
    return QString::fromUtf8(KORBI_FILE_VERSION);
}
