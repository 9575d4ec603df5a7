#include "app/aboutinfo.h"

#include <SimpleIni.h>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Windows-1252 at 0x80-0x9F, where it differs from Latin-1 (0: unused there).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// A value of the site's file as the old INI reader gave it. Files written on Windows hold
// Western European bytes rather than UTF-8, so bytes that are no UTF-8 are read as that code
// page; a value in matching quotes loses them.
QString SiteValue(const char* bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes));
    if (utf8.hasError()) {
        text = QString::fromLatin1(bytes);
        for (QChar& c : text) {
            const char16_t code = c.unicode();
            if (code >= 0x80 && code < 0xA0 && kWindows1252High[code - 0x80])
                c = QChar(kWindows1252High[code - 0x80]);
        }
    }
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        text = text.mid(1, text.size() - 2);
    return text;
}

}  // namespace

long ParseIniInteger(const QString& raw) {
    QString text = raw.trimmed();
    bool negative = false;
    if (text.startsWith('-') || text.startsWith('+')) {
        negative = text.startsWith('-');
        text = text.mid(1);
    }
    int base = 10;
    if (text.startsWith("0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    } else if (text.startsWith('$')) {
        base = 16;
        text = text.mid(1);
    }
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, base);
    // Only plain digits count: toLongLong would accept a second sign or blanks.
    if (!ok || text.isEmpty() || text.startsWith('-') || text.startsWith('+') ||
        value > 0x7FFFFFFFLL)
        return 0;
    return static_cast<long>(negative ? -value : value);
}

QString AboutIniPath(const QString& programFolder, const QString& siteConfigFolder) {
    const QString besideProgram = programFolder + "about.ini";
    if (QFileInfo(besideProgram).isFile() || siteConfigFolder.isEmpty()) return besideProgram;
    return siteConfigFolder + "about.ini";
}

QStringList AboutInfoLines(const VersionRecord& version, const QString& aboutIniPath) {
    QStringList lines;
    const bool hasRecord = !version.fileDescription.isEmpty() || !version.fileVersion.isEmpty() ||
                           !version.comments.isEmpty();
    if (hasRecord) {
        if (!version.fileDescription.isEmpty()) lines << version.fileDescription;
        QString versionLine = "Version: " + (version.fileVersion.isEmpty() ? QString("unknown")
                                                                           : version.fileVersion);
        if (!version.comments.isEmpty()) versionLine += " " + version.comments;
        lines << versionLine;
    }

    CSimpleIniA ini;  // section and key names match without regard to case
    if (QFile::exists(aboutIniPath)) ini.LoadFile(QFile::encodeName(aboutIniPath).constData());
    auto value = [&ini](const char* key) { return SiteValue(ini.GetValue("AboutInfo", key, "")); };

    const long count = ParseIniInteger(value("Lines"));
    if (count != 0) {
        lines << QString();
        for (long n = 1; n <= count && n <= kMaxContactLines; ++n)
            lines << value(QString("Line%1").arg(n).toLatin1().constData());
    } else {
        lines << "TALO Electronics AB";
    }
    lines << value("WWW") << value("MAIL");
    return lines;
}

QString LpxInfoLine(int queryResult, const QString& info) {
    return queryResult == 0 ? "LPX info: " + info : QString();
}
