#include "record/journal.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "record/journallisting.h"
#include "resources/catalogue.h"
#include "resources/msg.h"

namespace {

const char* const kJobWords[] = {"Lesen", "Schreiben", "Kennnummer"};
const char* const kProgramWords[] = {"fenster", "cli"};

// The stored code of each outcome and the word people read. "failed" gets the catalogue id of
// its message after the word.
struct Outcome {
    const char* code;
    const char* word;
    bool succeeded;
};
const Outcome kOutcomes[] = {
    {"ok", "ok", true},
    {"failed", "Fehler", false},
    {"aborted", "abgebrochen", false},
    {"checked", kVerifiedWord, true},
    {"check-failed", kVerifyFailedWord, false},
    {"not-checked", kNotVerifiedWord, true},
};
const char* const kFailedCode = "failed";

// An SQL string literal of text (no quote in the table's words needs doubling, but be safe).
QString SqlLiteral(const char* text) {
    return '\'' + QString::fromUtf8(text).replace('\'', QStringLiteral("\'\'")) + '\'';
}

// The JSON keys, in column order.
const char* const kJsonKeys[] = {
    "time",           "job",       "codeBefore", "codeAfter",      "firmwareVersion",
    "productionDate", "fileName",  "sha256",     "outcome",        "program",
    "verifySha256",   "loginName", "hostName",   "programVersion", "site",
    "room",
};
static_assert(sizeof(kJsonKeys) / sizeof(kJsonKeys[0]) == kJournalColumns);

}  // namespace

void CsvReader::EndRecord() {
    if (fieldStarted_ || !field_.isEmpty()) {
        fields_ << field_;
        record_(fields_);
    }
    fields_.clear();
    field_.clear();
    fieldStarted_ = false;
    recordChars_ = 0;
    recordLine_ = line_;
}

void CsvReader::SetLimit(qsizetype maxChars, std::function<void(qint64 line)> tooLong) {
    limit_ = maxChars;
    tooLong_ = std::move(tooLong);
}

void CsvReader::Stop() {
    stopped_ = true;
    fields_.clear();
    field_.clear();
    if (tooLong_) tooLong_(recordLine_);
}

void CsvReader::Feed(QStringView text) {
    for (const QChar c : text) {
        if (stopped_) return;
        if (limit_ > 0 && ++recordChars_ > limit_) {
            Stop();
            return;
        }
        const bool afterCr = lastWasCr_;
        lastWasCr_ = false;
        if ((c == '\n' && !afterCr) || c == '\r') ++line_;
        if (quoteSeen_) {
            quoteSeen_ = false;
            if (c == '"') {  // a doubled quote stands for one
                field_ += c;
                continue;
            }
            quoted_ = false;  // the quote ended the field; c is read as outside it
        }
        if (quoted_) {
            if (c == '"')
                quoteSeen_ = true;
            else
                field_ += c;
        } else if (c == '"') {
            quoted_ = true;
            fieldStarted_ = true;
        } else if (c == ',') {
            fields_ << field_;
            field_.clear();
            fieldStarted_ = true;
        } else if (c == '\n' && afterCr) {
            // the second half of "\r\n"
        } else if (c == '\n' || c == '\r') {
            lastWasCr_ = c == '\r';
            EndRecord();
        } else {
            field_ += c;
            fieldStarted_ = true;
        }
    }
}

void CsvReader::Finish() {
    if (stopped_) return;
    if (limit_ > 0 && quoted_ && !quoteSeen_) {
        Stop();
        return;
    }
    quoted_ = quoteSeen_ = false;
    EndRecord();
}

QString WithFormatCharactersEscaped(const QString& text) {
    const auto isFormat = [](char32_t c) { return QChar::category(c) == QChar::Other_Format; };
    // Most texts hold none: they are given back as they are.
    const QList<uint> points = text.toUcs4();
    if (std::none_of(points.begin(), points.end(), isFormat)) return text;
    QString shown;
    for (const uint c : points) {
        if (!isFormat(c))
            shown += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        else if (c <= 0xFFFF)
            shown += QStringLiteral("\\u%1").arg(c, 4, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\U%1").arg(c, 8, 16, QLatin1Char('0'));
    }
    return shown;
}

QList<QStringList> ParseCsv(const QString& text) {
    QList<QStringList> records;
    CsvReader reader([&records](const QStringList& fields) { records << fields; });
    reader.Feed(text);
    reader.Finish();
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

QString CheckedImageSha256(const ConfigImage& sent, const ConfigImage& readBack,
                           const std::vector<WriteBlock>& plan, const QString& code) {
    ConfigImage checked = sent;
    for (const WriteBlock& block : plan)
        for (int address = block.start; address < block.start + block.count; ++address)
            if (readBack.cells[address].mark == MarkFromDevice)
                checked.cells[address].value = readBack.cells[address].value;
    uint8_t high = 0, low = 0;
    TextToCode(code.toStdString(), high, low);
    checked.cells[Addr::RadioIdCode].value = high;
    checked.cells[Addr::RadioIdCode + 1].value = low;
    return ImageSha256(checked);
}

void SetJournalImage(JournalEntry& entry, const QByteArray& image) {
    entry.image = image;
    entry.sha256 =
        QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex());
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

QString JournalOutcomeCode(const JournalEntry& entry) {
    for (const Outcome& outcome : kOutcomes)
        if (!entry.verifyOutcome.isEmpty() &&
            entry.verifyOutcome == QString::fromUtf8(outcome.word))
            return QString::fromLatin1(outcome.code);
    if (entry.outcome == JournalOutcome::Aborted) return QStringLiteral("aborted");
    if (entry.outcome == JournalOutcome::Failed) return QString::fromLatin1(kFailedCode);
    return QStringLiteral("ok");
}

QString JournalOutcomeWord(const QString& code, int messageId) {
    for (const Outcome& outcome : kOutcomes) {
        if (code != QLatin1String(outcome.code)) continue;
        QString word = QString::fromUtf8(outcome.word);
        // A failure that showed no message (the LPX went quiet) has no id to name.
        if (code == QLatin1String(kFailedCode) && messageId != 0)
            word += ' ' + QString::number(messageId);
        return word;
    }
    return code;
}

void JournalOutcomeOfWord(const QString& word, QString* code, int* messageId) {
    *code = word;
    *messageId = 0;
    for (const Outcome& outcome : kOutcomes) {
        const QString known = QString::fromUtf8(outcome.word);
        bool isNumber = false;
        const int id = word.mid(known.size() + 1).toInt(&isNumber);
        if (word == known) {
            *code = QString::fromLatin1(outcome.code);
        } else if (std::strcmp(outcome.code, kFailedCode) == 0 && isNumber &&
                   word.startsWith(known + ' ')) {
            *code = QString::fromLatin1(outcome.code);
            *messageId = id;
        }
    }
}

QString JournalOutcomeWordSql() {
    QString sql = QStringLiteral("CASE outcome");
    for (const Outcome& outcome : kOutcomes) {
        QString word = SqlLiteral(outcome.word);
        if (std::strcmp(outcome.code, kFailedCode) == 0)
            word = QStringLiteral(
                       "CASE WHEN message_id <> 0 THEN %1 || ' ' || message_id "
                       "ELSE %1 END")
                       .arg(word);
        sql += QStringLiteral(" WHEN %1 THEN %2").arg(SqlLiteral(outcome.code), word);
    }
    return sql + QStringLiteral(" ELSE outcome END");
}

QStringList JournalSucceededCodes() {
    QStringList codes;
    for (const Outcome& outcome : kOutcomes)
        if (outcome.succeeded) codes << QString::fromLatin1(outcome.code);
    return codes;
}

QString JournalShortTime(qint64 timeUtc) {
    return QDateTime::fromSecsSinceEpoch(timeUtc).toLocalTime().toString(
        QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString ShortSha256(const QString& sha256) {
    return sha256.left(kShortSha256Length);
}

const char* JournalJobWord(JournalJob job) {
    return kJobWords[static_cast<int>(job)];
}

const char* JournalProgramWord(JournalProgram program) {
    return kProgramWords[static_cast<int>(program)];
}

QStringList JournalFields(const JournalEntry& entry) {
    const int messageId = entry.outcome == JournalOutcome::Failed ? entry.messageId : 0;
    const QString outcome = JournalOutcomeWord(JournalOutcomeCode(entry), messageId);
    QStringList fields(kJournalColumns);
    fields[ColTime] =
        JournalTimeText(entry.time.isValid() ? entry.time : QDateTime::currentDateTime());
    fields[ColJob] = JournalJobWord(entry.job);
    fields[ColCodeBefore] = entry.codeBefore;
    fields[ColCodeAfter] = entry.codeAfter;
    fields[ColFirmwareVersion] = entry.firmwareVersion;
    fields[ColProductionDate] = entry.productionDate;
    fields[ColFileName] = entry.fileName;
    fields[ColSha256] = entry.sha256;
    fields[ColOutcome] = outcome;
    fields[ColProgram] = JournalProgramWord(entry.program);
    fields[ColVerifySha256] = entry.verifySha256;
    fields[ColLoginName] = entry.loginName;
    fields[ColHostName] = entry.hostName;
    fields[ColProgramVersion] = entry.programVersion;
    fields[ColSite] = entry.site;
    fields[ColRoom] = entry.room;
    return fields;
}

QByteArray CsvRecord(const QStringList& fields, bool formulaGuard) {
    std::string record;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) record += ',';
        AppendCsvField(record, QByteArrayView(fields[i].toUtf8()), formulaGuard);
    }
    return QByteArray::fromStdString(record + '\n');
}
