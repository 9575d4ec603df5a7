#include "app/platform.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "link/driverfactory.h"
#include "link/practicelpx.h"
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

std::unique_ptr<SerialDriver> ConnectLpx(const ProgramOptions& options, AppEnvironment& env) {
    std::unique_ptr<SerialDriver> driver;
    const int generation = options.simulate;
    if (generation != 0) {
        auto practice = std::make_unique<PracticeLpx>(generation == 1 ? 1 : 2);
        env.practiceLpx = practice.get();
        driver = std::move(practice);
    } else {
        env.practiceLpx = nullptr;
        driver = CreateSerialDriver(options.port);
        env.lpxPort = options.port;
    }
    env.practiceMode = env.practiceLpx != nullptr;
    env.serialDriver = driver.get();
    return driver;
}

VersionRecord ProgramVersionRecord() {
    return VersionRecord{QString::fromUtf8(KORBI_FILE_DESCRIPTION),
                         QString::fromUtf8(KORBI_FILE_VERSION), QString::fromUtf8(KORBI_COMMENTS)};
}

QString ProgramFileVersion() {
    return QString::fromUtf8(KORBI_FILE_VERSION);
}
