#include "app/aboutinfo.h"

#include <SimpleIni.h>

#include <QFile>

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
    auto value = [&ini](const char* key) {
        return QString::fromUtf8(ini.GetValue("AboutInfo", key, ""));
    };

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
