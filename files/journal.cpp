#include "files/journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "files/filewrite.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

// The words that stand in the file: they are data that other tools filter on, so they never
// change with the window's texts.
const char* const kJobWords[] = {"Lesen", "Schreiben", "Kennnummer"};
const char* const kProgramWords[] = {"fenster", "cli"};

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Splits CSV text into records of fields; quoted fields may hold commas, quotes and line breaks.
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

}  // namespace

QString JournalPath(const QString& applicationDataFolder) {
    if (applicationDataFolder.isEmpty()) return QString();
    return applicationDataFolder + kJournalFileName;
}

QString ImageSha256(const ConfigImage& image) {
    const ImageBytes bytes = ExtractImageBytes(image);
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), kImageSize);
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
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
    return fields;
}

QByteArray CsvRecord(const QStringList& fields) {
    QStringList quoted;
    for (QString field : fields) {
        if (field.contains(',') || field.contains('"') || field.contains('\n') ||
            field.contains('\r')) {
            field.replace('"', QStringLiteral("\"\""));
            field = '"' + field + '"';
        }
        quoted << field;
    }
    return (quoted.join(',') + '\n').toUtf8();
}

bool AppendJournal(const QString& path, const JournalEntry& entry, QString* error) {
    if (path.isEmpty()) return true;
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        if (error) *error = SystemError(errno);
        return false;
    }
    // The window and korbi-cli may append at the same moment: the lock keeps a new journal
    // from getting two header lines, and one write per line keeps lines whole.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    int failure = ok ? 0 : EINVAL;
    QByteArray data;
    if (ok && st.st_size == 0) data = CsvRecord(JournalHeader());
    data += CsvRecord(JournalFields(entry));
    if (ok) failure = WriteAllBytes(fd, data);
    if (ok && failure == 0 && ::fsync(fd) != 0) failure = errno;
    ok = failure == 0;
    ::close(fd);
    if (!ok && error) *error = SystemError(failure);
    return ok;
}

bool ReadJournal(const QString& path, QList<QStringList>* lines, QString* error) {
    lines->clear();
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    QList<QStringList> records = ParseCsv(QString::fromUtf8(file.readAll()));
    // The header is the one record whose first field is no time.
    if (!records.isEmpty() &&
        !QDateTime::fromString(records.first().value(0), Qt::ISODate).isValid())
        records.removeFirst();
    for (QStringList& record : records) {
        while (record.size() < kJournalColumns) record << QString();
    }
    *lines = records;
    return true;
}

QList<QStringList> FilterJournal(const QList<QStringList>& lines, const QString& deviceCode,
                                 const QDateTime& since) {
    QList<QStringList> kept;
    for (const QStringList& line : lines) {
        if (!deviceCode.isEmpty() &&
            line[ColCodeBefore].compare(deviceCode, Qt::CaseInsensitive) != 0 &&
            line[ColCodeAfter].compare(deviceCode, Qt::CaseInsensitive) != 0)
            continue;
        if (since.isValid()) {
            const QDateTime time = QDateTime::fromString(line[ColTime], Qt::ISODate);
            if (!time.isValid() || time < since) continue;
        }
        kept << line;
    }
    return kept;
}
