// korbi-cli journal and restore: the record of device jobs, line by line as the database hands
// them out (a table for people, guarded CSV, or JSON with English keys), the lines that wait for
// the server, and a configuration taken back out of the record.

#include <sys/stat.h>

#include <QFile>
#include <QRegularExpression>

#include "cli/configuration.h"
#include "cli/context.h"
#include "files/fileerrors.h"
#include "files/fileplace.h"
#include "files/filewrite.h"
#include "record/journallisting.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

constexpr size_t kPrintBlock = 256 * 1024;  // bytes

// A day (local time) or a point in time; an invalid result for anything else. A day stands for
// its first second, or with endOfDay for its last.
QDateTime ParseDay(const QString& text, bool endOfDay) {
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid() && text.size() == 10)
        return endOfDay ? day.addDays(1).startOfDay().addSecs(-1) : day.startOfDay();
    return QDateTime::fromString(text, Qt::ISODate);
}

int Sync(const JournalTarget& target) {
    QString error;
    QStringList setAside;
    const int sent = SyncJournal(target, &error, &setAside);
    for (const QString& line : setAside) PrintProblem(line);
    if (sent < 0) {
        PrintProblem(error);
        return ExitUsage;
    }
    PrintError(FillText(Msg::JournalSent, {QString::number(sent), JournalName(target)}) + '\n');
    return ExitDone;
}

}  // namespace

bool ReadJournalFilter(const CliOptions& options, JournalFilter* filter) {
    if (options.given & OptDevice) {
        if (!IsDeviceFilter(options.device)) {
            PrintError(QStringLiteral("korbi-cli: --device erwartet eine Funkkennung oder einen "
                                      "Teil davon, eine bis vier Hexadezimalziffern wie 4C2D, "
                                      "nicht „%1“.\n")
                           .arg(options.device));
            return false;
        }
        filter->device = options.device;
    }
    if (options.given & OptSite) {
        filter->site = options.site.trimmed();
        if (filter->site.isEmpty()) {
            PrintError(
                QStringLiteral("korbi-cli: --site erwartet den Namen eines Objekts, "
                               "z. B. --site=\"Pflegeheim Sonnenhof, Haus B\".\n"));
            return false;
        }
    }
    const struct {
        OptionBit bit;
        const QString& text;
        bool endOfDay;
        QDateTime* point;
    } kBounds[] = {
        {OptSince, options.since, false, &filter->since},
        {OptUntil, options.until, true, &filter->until},
    };
    for (const auto& bound : kBounds) {
        if (!(options.given & bound.bit)) continue;
        *bound.point = ParseDay(bound.text, bound.endOfDay);
        if (!bound.point->isValid()) {
            PrintError(QStringLiteral("korbi-cli: %1 erwartet ein Datum wie 2026-03-01 oder eine "
                                      "Zeit wie 2026-03-01T14:00:00, nicht „%2“.\n")
                           .arg(OptionName(bound.bit), bound.text));
            return false;
        }
    }
    return true;
}

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
    JournalFilter filter;
    if (!ReadJournalFilter(options, &filter)) return ExitUsage;
    JournalReader reader;
    QString error;
    QString warning;
    const bool opened = reader.Open(target, &error, &warning);
    if (!warning.isEmpty()) PrintProblem(warning);
    const bool json = options.given & OptJson;
    const bool csv = options.given & OptCsv;
    if (!opened || !reader.Select(filter, &error, json || csv ? QList<int>() : TableColumns())) {
        PrintProblem(error);
        return ExitUsage;
    }
    // Written in blocks: one write per line would make a long listing wait on the terminal.
    std::string block;
    block.reserve(kPrintBlock + 4096);
    if (json)
        block = "[";
    else if (csv)
        AppendCsvHeader(block, true);
    else
        AppendTableHeader(block);
    bool first = true;
    LocalMinutes times;
    while (reader.NextLine(&error)) {
        if (json) {
            if (first) block += '\n';
            AppendJsonLine(block, reader, first);
        } else if (csv) {
            AppendCsvLine(block, reader, true);
        } else {
            AppendTableLine(block, reader, times);
        }
        first = false;
        if (block.size() < kPrintBlock) continue;
        PrintBytes(QByteArrayView(block.data(), block.size()));
        block.clear();
    }
    if (json) block += "\n]\n";
    PrintBytes(QByteArrayView(block.data(), block.size()));
    // A listing cut short must not look whole.
    if (!error.isEmpty()) {
        PrintProblem(error);
        return ExitFailed;
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
    // -o naming a folder (an existing one, or any name ending in "/") puts CODE.Korbi into it.
    QString name = context.options.given & OptOutput ? context.options.output : code;
    struct stat st {};
    if (name.endsWith('/') ||
        (::stat(QFile::encodeName(name).constData(), &st) == 0 && S_ISDIR(st.st_mode)))
        name = (name.endsWith('/') ? name : name + '/') + code.toUpper();
    // The name is checked before the record is asked.
    QString target;
    FilePlace place;
    const int status = SaveAsTarget(name, &target, place, Msg::RestoreTargetUnusable);
    if (status != ExitDone) return status;
    JournalReader reader;
    QString error;
    QString timeText;
    QByteArray image;
    QString recordedCode;
    if (reader.Open(CliJournalTarget(context), &error))
        image = reader.LatestImage(code, &timeText, &error, &recordedCode);
    if (!error.isEmpty()) {
        PrintProblem(error);
        return ExitUsage;
    }
    if (image.size() != kImageSize) {
        PrintProblem(FillText(Msg::JournalNoImage, {code}));
        return ExitFailed;
    }
    // Never over anything, also not over a file that appeared since the check.
    if (const int writeError = WriteNewFile(place, place.name, image)) {
        PrintProblem(WithCause(Text(Msg::FileNotSaved), FileErrorCause(writeError)));
        return ExitUsage;
    }
    if (recordedCode != code.toUpper())
        PrintError(
            FillText(Msg::RestoreUnderEarlierCode, {recordedCode, code.toUpper(), timeText}) +
            '\n');
    PrintError(Text(Msg::FileSaved) + ": " + target + " (" + timeText + ")\n");
    return ExitDone;
}
