// korbi-cli journal: the journal as it stands in the file (header and the lines that pass the
// filters), or as JSON objects keyed by the column titles.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/context.h"
#include "cli/settingsprint.h"
#include "files/journal.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// A day (from its start, local time) or a point in time; an invalid result for anything else.
QDateTime ParseSince(const QString& text) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid() && text.size() == 10) return day.startOfDay();
    return QDateTime::fromString(text, Qt::ISODate);
}

}  // namespace

int RunJournal(const CliContext& context) {
    const CliOptions& options = context.options;
    QDateTime since;
    if (options.given & OptSince) {
        since = ParseSince(options.since);
        if (!since.isValid()) {
            PrintError(
                QStringLiteral("--since erwartet ein Datum wie 2026-03-01 oder eine Zeit "
                               "wie 2026-03-01T14:00:00.\n"));
            return ExitUsage;
        }
    }
    const QString path = JournalPath(context.applicationDataFolder);
    QList<QStringList> lines;
    QString error;
    if (!ReadJournal(path, &lines, &error)) {
        PrintError(FillText(Msg::JournalReadFailed, {path, error}) + '\n');
        return ExitUsage;
    }
    lines = FilterJournal(lines, options.device, since);
    const QStringList header = JournalHeader();
    if (options.given & OptJson) {
        QJsonArray array;
        for (const QStringList& line : lines) {
            QJsonObject object;
            for (int column = 0; column < kJournalColumns; ++column)
                object.insert(header[column], line[column]);
            array.append(object);
        }
        Print(JsonText(array));
        return ExitDone;
    }
    QByteArray text = CsvRecord(header);
    for (const QStringList& line : lines) text += CsvRecord(line);
    Print(QString::fromUtf8(text));
    return ExitDone;
}
