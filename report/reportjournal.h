#pragma once
// A report's lines taken from the record, and the same lines as a spreadsheet export.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

#include "record/journalstore.h"
#include "report/report.h"

struct ReportRange {
    // One to four hexadecimal digits of a radio ID code (before or after the job), as the
    // journal's filter takes them; empty for every device.
    QString device;
    QDateTime since;  // from this point on; invalid: from the first line
    QDateTime until;  // up to, not including, this point; invalid: to the last line
    QString site;     // the lines of this site alone; empty: every site
    // Takes a line's fields and keeps it or not (every line without one): e.g. a series'
    // own lines among those of the same minutes.
    std::function<bool(const QStringList&)> keep;
};

// Hands each line of the range to line, oldest first, with its id, as the record streams them.
// False with a German error when the record cannot be read.
bool EachReportLine(JournalReader& reader, const ReportRange& range,
                    const std::function<void(const QStringList&, qint64)>& line, QString* error);

// Reads the range's lines, oldest first, and the image of each distinct configuration that a
// device received. False with a German error when the record cannot be read.
bool ReadReportLines(JournalReader& reader, const ReportRange& range, Report* report,
                     QString* error);

// Whether a line is a write that left its configuration on a device.
bool WroteConfiguration(const QStringList& fields);

// The lines as the journal's CSV export: the German titles, then one record a line, with a
// leading apostrophe before anything a spreadsheet would take for a formula.
QByteArray ReportCsv(const QList<QStringList>& lines);
