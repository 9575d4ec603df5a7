// korbi-cli journal and restore: the record of device jobs, line by line as the database hands
// them out (CSV with the German titles, or JSON with English keys), the lines that wait for the
// server, and a configuration taken back out of the record.

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "cli/configuration.h"
#include "cli/context.h"
#include "files/fileerrors.h"
#include "files/fileplace.h"
#include "files/filewrite.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

constexpr qsizetype kPrintBlock = 32 * 1024;  // characters

// A day (from its start, local time) or a point in time; an invalid result for anything else.
QDateTime ParseSince(const QString& text) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid() && text.size() == 10) return day.startOfDay();
    return QDateTime::fromString(text, Qt::ISODate);
}

// One line of the JSON array as QJsonDocument indents it, so that the streamed array reads the
// same as one written whole.
QString JsonElement(const QStringList& keys, const QStringList& fields, bool first) {
    QJsonObject object;
    for (int column = 0; column < kJournalColumns; ++column)
        object.insert(keys[column], fields[column]);
    QString text = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
    text.chop(1);
    text.replace('\n', QStringLiteral("\n    "));
    return (first ? QStringLiteral("    ") : QStringLiteral(",\n    ")) + text;
}

int Sync(const JournalTarget& target) {
    QString error;
    QStringList setAside;
    const int sent = SyncJournal(target, &error, &setAside);
    for (const QString& line : setAside) PrintError(line + '\n');
    if (sent < 0) {
        PrintError(error + '\n');
        return ExitUsage;
    }
    PrintError(FillText(Msg::JournalSent, {QString::number(sent), JournalName(target)}) + '\n');
    return ExitDone;
}

}  // namespace

JournalTarget CliJournalTarget(const CliContext& context) {
    JournalTarget target;
    target.localPath = JournalPath(context.applicationDataFolder);
    target.serverUri = context.options.given & OptJournal
                           ? context.options.journal
                           : ConfiguredJournalServer(context.applicationDataFolder);
    return target;
}

int RunJournal(const CliContext& context) {
    const CliOptions& options = context.options;
    if ((options.given & OptJson) && (options.given & OptCsv)) {
        PrintError(QStringLiteral("korbi-cli: --json und --csv schließen einander aus.\n"));
        return ExitUsage;
    }
    const JournalTarget target = CliJournalTarget(context);
    if (options.given & OptSync) return Sync(target);
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
    JournalReader reader;
    QString error;
    QString warning;
    const bool opened = reader.Open(target, &error, &warning);
    if (!warning.isEmpty()) PrintError(warning + '\n');
    if (!opened || !reader.Select(options.device, since, &error)) {
        PrintError(error + '\n');
        return ExitUsage;
    }
    // Written in blocks: one write per line would make a long listing wait on the terminal.
    QString block;
    const auto flushSome = [&block](bool all) {
        if (!all && block.size() < kPrintBlock) return;
        Print(block);
        block.clear();
    };
    QStringList fields;
    if (options.given & OptJson) {
        const QStringList keys = JournalJsonKeys();
        block = QStringLiteral("[");
        bool first = true;
        while (reader.Next(&fields)) {
            block += (first ? QStringLiteral("\n") : QString()) + JsonElement(keys, fields, first);
            first = false;
            flushSome(false);
        }
        block += QStringLiteral("\n]\n");
    } else {
        const bool guard = options.given & OptCsv;
        block = QString::fromUtf8(CsvRecord(JournalHeader(), guard));
        while (reader.Next(&fields)) {
            block += QString::fromUtf8(CsvRecord(fields, guard));
            flushSome(false);
        }
    }
    flushSome(true);
    // A listing cut short by the server is no complete listing.
    if (reader.Failed(&error)) {
        PrintError(error + '\n');
        return ExitUsage;
    }
    return ExitDone;
}

int RunRestore(const CliContext& context) {
    const QString code = context.options.operands.value(0);
    // A code is four hexadecimal digits; anything else would also make a strange file name.
    static const QRegularExpression kCode(QStringLiteral("^[0-9A-Fa-f]{4}$"));
    if (!kCode.match(code).hasMatch()) {
        PrintError(QStringLiteral(
                       "korbi-cli: Die Funkkennung %1 besteht nicht aus vier Hexadezimalziffern.\n")
                       .arg(code));
        return ExitUsage;
    }
    // The name is checked before the record is asked, as a read checks it before the press.
    QString target;
    FilePlace place;
    const int status = SaveAsTarget(
        context.options.given & OptOutput ? context.options.output : code, &target, place);
    if (status != ExitDone) return status;
    JournalReader reader;
    QString error;
    QString timeText;
    QByteArray image;
    if (reader.Open(CliJournalTarget(context), &error))
        image = reader.LatestImage(code, &timeText, &error);
    if (!error.isEmpty()) {
        PrintError(error + '\n');
        return ExitUsage;
    }
    if (image.size() != kImageSize) {
        PrintError(FillText(Msg::JournalNoImage, {code}) + '\n');
        return ExitFailed;
    }
    // Never over anything, also not over a file that appeared since the check.
    if (const int writeError = WriteNewFile(place, place.name, image)) {
        PrintError(WithCause(Text(Msg::FileNotSaved), FileErrorCause(writeError)) + '\n');
        return ExitUsage;
    }
    PrintError(Text(Msg::FileSaved) + ": " + target + " (" + timeText + ")\n");
    return ExitDone;
}
