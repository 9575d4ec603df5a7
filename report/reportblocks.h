#pragma once
// What the report says, in order, without geometry: the title, the header, the table of device
// jobs and each configuration written with its devices and settings. The pages
// (reportpages.h) lay these blocks out.

#include <QList>
#include <QString>
#include <QStringList>

#include "report/report.h"

struct ReportColumn {
    QString title;
    int percent;        // share of the page's width
    bool code = false;  // hexadecimal digits, set in a fixed-width font
};

struct ReportRow {
    QStringList cells;
    bool group = false;  // a group's caption across the whole row
};

struct ReportBlock {
    enum Kind { Title, Heading, Subheading, Paragraph, Table, Pairs };
    Kind kind = Paragraph;
    QString text;  // of a title, heading or paragraph
    // A table (titles repeated on each page it runs over), or label-value pairs without lines.
    QList<ReportColumn> columns;
    QList<ReportRow> rows;
};

QList<ReportBlock> ReportBlocks(const Report& report);

// A journal time (ISO 8601 with offset) as local date and time, "08.12.2026 07:19:05"; the
// text as it stands when it is no time.
QString LocalTimeText(const QString& journalTime);
