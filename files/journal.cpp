#include "files/journal.h"

#include <QCryptographicHash>
#include <cstdlib>

#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// The words that stand in the file: they are data that other tools filter on, so they never
// change with the window's texts.
const char* const kJobWords[] = {"Lesen", "Schreiben", "Kennnummer"};
const char* const kProgramWords[] = {"fenster", "cli"};

// The JSON keys, in column order.
const char* const kJsonKeys[] = {
    "time",           "job",       "codeBefore", "codeAfter",      "firmwareVersion",
    "productionDate", "fileName",  "sha256",     "outcome",        "program",
    "verifySha256",   "loginName", "hostName",   "programVersion",
};
static_assert(sizeof(kJsonKeys) / sizeof(kJsonKeys[0]) == kJournalColumns);

// Whether a spreadsheet would read the field as a formula.
bool LooksLikeFormula(const QString& field) {
    for (const QChar c : field) {
        if (c == ' ' || c == '\t') continue;
        return c == '=' || c == '+' || c == '-' || c == '@';
    }
    return false;
}

}  // namespace

QList<QStringList> ParseCsv(const QString& text) {
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
            fieldStarted = true;
        } else if (c == ',') {
            fields << field;
            field.clear();
            fieldStarted = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (fieldStarted || !field.isEmpty()) {
                fields << field;
                records << fields;
            }
            fields.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty()) {
        fields << field;
        records << fields;
    }
    return records;
}

QString JournalPath(const QString& applicationDataFolder) {
    if (applicationDataFolder.isEmpty()) return QString();
    return applicationDataFolder + kJournalFileName;
}

QByteArray ImageData(const ConfigImage& image) {
    const ImageBytes bytes = ExtractImageBytes(image);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), kImageSize);
}

QString ImageSha256(const ConfigImage& image) {
    return QString::fromLatin1(
        QCryptographicHash::hash(ImageData(image), QCryptographicHash::Sha256).toHex());
}

QString FirmwareVersionText(uint8_t version) {
    return QString::asprintf("%X.%X", version >> 4, version & 0x0F);
}

QString JournalTimeText(const QDateTime& time) {
    const QDateTime local = time.toLocalTime();
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           QString::asprintf("%c%02d:%02d", offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

QStringList JournalHeader() {
    QStringList titles;
    for (int column = 0; column < kJournalColumns; ++column)
        titles << Text(Msg::JournalColumnTime + column);
    return titles;
}

QStringList JournalJsonKeys() {
    QStringList keys;
    for (const char* key : kJsonKeys) keys << QString::fromLatin1(key);
    return keys;
}

QStringList JournalFields(const JournalEntry& entry) {
    QString outcome = QStringLiteral("ok");
    if (entry.outcome == JournalOutcome::Aborted) outcome = QStringLiteral("abgebrochen");
    // A failure that showed no message (the LPX went quiet) has no id to name.
    if (entry.outcome == JournalOutcome::Failed)
        outcome = entry.messageId != 0 ? QStringLiteral("Fehler %1").arg(entry.messageId)
                                       : QStringLiteral("Fehler");
    if (!entry.verifyOutcome.isEmpty()) outcome = entry.verifyOutcome;
    QStringList fields(kJournalColumns);
    fields[ColTime] =
        JournalTimeText(entry.time.isValid() ? entry.time : QDateTime::currentDateTime());
    fields[ColJob] = kJobWords[static_cast<int>(entry.job)];
    fields[ColCodeBefore] = entry.codeBefore;
    fields[ColCodeAfter] = entry.codeAfter;
    fields[ColFirmwareVersion] = entry.firmwareVersion;
    fields[ColProductionDate] = entry.productionDate;
    fields[ColFileName] = entry.fileName;
    fields[ColSha256] = entry.sha256;
    fields[ColOutcome] = outcome;
    fields[ColProgram] = kProgramWords[static_cast<int>(entry.program)];
    fields[ColVerifySha256] = entry.verifySha256;
    fields[ColLoginName] = entry.loginName;
    fields[ColHostName] = entry.hostName;
    fields[ColProgramVersion] = entry.programVersion;
    return fields;
}

QByteArray CsvRecord(const QStringList& fields, bool formulaGuard) {
    QStringList quoted;
    for (QString field : fields) {
        if (formulaGuard && LooksLikeFormula(field)) field.prepend('\'');
        if (field.contains(',') || field.contains('"') || field.contains('\n') ||
            field.contains('\r')) {
            field.replace('"', QStringLiteral("\"\""));
            field = '"' + field + '"';
        }
        quoted << field;
    }
    return (quoted.join(',') + '\n').toUtf8();
}
