#include "files/recentfiles.h"

#include "files/settingsfile.h"

namespace {

const char* const kSection = "Setup";
const char* const kKey = "RecentFiles";
const char* const kSitesKey = "RecentSites";

QString Escape(const QString& path) {
    QString out;
    for (const QChar c : path) {
        if (c == '%' || c == ';' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QChar('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString Unescape(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        bool ok = false;
        const int code = text.mid(i + 1, 2).toInt(&ok, 16);
        if (text[i] == '%' && i + 2 < text.size() && ok) {
            out += QChar(code);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A value is read back only up to this length; the oldest entries give way so that none is cut.
constexpr int kMaxValueLength = 2047;

// Stores the list; a settings file that cannot be written only costs the list its next start.
QStringList Store(const QString& settingsFile, QStringList paths, const char* key = kKey) {
    while (!paths.isEmpty() && JoinRecentFiles(paths).size() > kMaxValueLength) paths.removeLast();
    WriteSetting(settingsFile, kSection, key, JoinRecentFiles(paths));
    return paths;
}

}  // namespace

QString JoinRecentFiles(const QStringList& paths) {
    QStringList escaped;
    for (const QString& path : paths) escaped << Escape(path);
    return escaped.join(';');
}

QStringList SplitRecentFiles(const QString& value) {
    QStringList paths;
    for (const QString& part : value.split(';', Qt::SkipEmptyParts)) {
        const QString path = Unescape(part);
        // Only absolute paths were ever stored; anything else is a damaged entry.
        if (path.startsWith('/') && !paths.contains(path) && paths.size() < kRecentFilesMax)
            paths << path;
    }
    return paths;
}

QStringList ReadRecentFiles(const QString& settingsFile) {
    return SplitRecentFiles(ReadSetting(settingsFile, kSection, kKey));
}

QStringList RememberRecentFile(const QString& settingsFile, const QString& path) {
    QStringList paths = ReadRecentFiles(settingsFile);
    paths.removeAll(path);
    paths.prepend(path);
    while (paths.size() > kRecentFilesMax) paths.removeLast();
    return Store(settingsFile, paths);
}

QStringList ForgetRecentFile(const QString& settingsFile, const QString& path) {
    QStringList paths = ReadRecentFiles(settingsFile);
    if (paths.removeAll(path) == 0) return paths;
    return Store(settingsFile, paths);
}

QStringList ReadRecentSites(const QString& settingsFile) {
    QStringList sites;
    for (const QString& part :
         ReadSetting(settingsFile, kSection, kSitesKey).split(';', Qt::SkipEmptyParts)) {
        const QString site = Unescape(part).simplified();
        if (!site.isEmpty() && !sites.contains(site) && sites.size() < kRecentSitesMax)
            sites << site;
    }
    return sites;
}

QStringList RememberRecentSite(const QString& settingsFile, const QString& site) {
    QStringList sites = ReadRecentSites(settingsFile);
    const QString named = site.simplified();
    if (named.isEmpty() || sites.value(0) == named) return sites;
    sites.removeAll(named);
    sites.prepend(named);
    while (sites.size() > kRecentSitesMax) sites.removeLast();
    return Store(settingsFile, sites, kSitesKey);
}
