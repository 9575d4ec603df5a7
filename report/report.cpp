#include "report/report.h"

#include <pwd.h>
#include <unistd.h>

#include <QSysInfo>

#include "version_record.h"

namespace {

// The account's full name is the first part of its comment field ("Erika Muster,Raum 4,,").
QString TechnicianName() {
    const passwd* user = ::getpwuid(::geteuid());
    const QString fullName =
        user ? QString::fromLocal8Bit(user->pw_gecos).section(',', 0, 0).trimmed() : QString();
    return fullName.isEmpty() ? LoginNameHere() : fullName;
}

}  // namespace

QString LoginNameHere() {
    if (const passwd* user = ::getpwuid(::geteuid())) return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("LOGNAME");
}

QString HostNameHere() {
    return QSysInfo::machineHostName();
}

ReportHeader ReportHeaderHere(const QString& lpxInfo, const QString& range) {
    ReportHeader header;
    header.made = QDateTime::currentDateTime();
    header.technician = TechnicianName();
    header.computer = HostNameHere();
    header.program =
        QString::fromUtf8(KORBI_FILE_DESCRIPTION) + ' ' + QString::fromUtf8(KORBI_FILE_VERSION);
    header.lpxInfo = lpxInfo;
    header.range = range;
    return header;
}
