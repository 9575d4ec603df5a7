#pragma once
// The programming report handed to a customer: who made it, where and when, every device job
// of a range of the record, and per configuration written all its settings and the devices
// that received it. This file holds what a report is made of; reportjournal.h collects it from
// the record, reportpages.h lays it out on A4 pages.

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

struct ReportHeader {
    QDateTime made;
    QString technician;  // the full name from the account, else the login name
    QString computer;
    QString program;  // the program's name and version
    QString lpxInfo;  // the LPX's information line; empty when not known
    QString range;    // which part of the record the report covers, in words
    QString site;     // the customer's site the report is made for; empty: as the lines say
};

struct Report {
    ReportHeader header;
    QList<QStringList> lines;  // the journal lines' fields in column order, oldest first
    // The 256 bytes of each configuration written, by the SHA-256 its lines name.
    QHash<QString, QByteArray> images;
    // The SHA-256s whose image is the one read back by a check: the configuration sent plus
    // the device's own counters and product data.
    QSet<QString> imagesReadBack;
};

// The login name and host name as the record stamps them on a line made here.
QString LoginNameHere();
QString HostNameHere();

// The header for a report made now, on this computer, by the user running the program.
ReportHeader ReportHeaderHere(const QString& lpxInfo, const QString& range);
