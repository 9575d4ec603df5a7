#include "app/manual.h"

#include <QDir>
#include <QFileInfo>

namespace {
const char* const kManualName = "handbuch.html";
}  // namespace

QString ManualPath(const QString& programFolder) {
    const QString beside = programFolder + kManualName;
    if (ManualExists(beside)) return beside;
    // Installed: <prefix>/bin/korbi-programmer and <prefix>/share/doc/korbi-programmer/.
    return QDir::cleanPath(programFolder + "../share/doc/korbi-programmer/" + kManualName);
}

bool ManualExists(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}
