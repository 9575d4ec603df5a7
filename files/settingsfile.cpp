#include "files/settingsfile.h"

#include <SimpleIni.h>

#include <QFile>
#include <string>

#include "files/fileerrors.h"
#include "files/filenames.h"
#include "files/imagefile.h"

namespace {

// SimpleIni's CSimpleIniA compares section and key names without regard to case (its
// CSimpleIniCaseA is the case-sensitive flavour).
constexpr int kMaxValueLength = 2047;

// Loads the settings file; an empty document when it is missing or cannot be read. Only a
// regular file is read, so a FIFO in its place cannot block start-up.
void Load(const QString& settingsFile, CSimpleIniA& ini) {
    if (GetImageFileSize(settingsFile) <= 0) return;
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray text = file.readAll();
    file.close();
    ini.LoadData(text.constData(), static_cast<size_t>(text.size()));
}

}  // namespace

QString SettingsFilePath(const QString& applicationDataFolder) {
    return applicationDataFolder + "Values.ini";
}

QString ReadSetting(const QString& settingsFile, const QString& section, const QString& key) {
    CSimpleIniA ini;
    Load(settingsFile, ini);
    const char* value =
        ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    if (!value) return QString();
    // Values are file names as often as not: bytes that are no UTF-8 stay the bytes they were.
    return FileNameFromBytes(QByteArray(value)).left(kMaxValueLength);
}

bool WriteSetting(const QString& settingsFile, const QString& section, const QString& key,
                  const QString& value, int* error) {
    if (error) *error = 0;
    CSimpleIniA ini;
    ini.SetSpaces(false);  // key=value, as the private-profile functions write it
    Load(settingsFile, ini);
    if (ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(),
                     FileNameBytes(value).constData()) < 0)
        return false;
    std::string text;
    if (ini.Save(text) < 0) return false;
    if (!text.empty() && text.back() != '\n') text += '\n';  // a text file ends with a newline
    const int failure =
        WriteFileSafely(settingsFile, QByteArray(text.data(), static_cast<int>(text.size())));
    if (error) *error = failure;
    return failure == 0;
}

QString WriteSettingFailureText(const QString& settingsFile, int error) {
    return WithCause(QString("Unable to write to %1").arg(settingsFile), FileErrorCause(error));
}
