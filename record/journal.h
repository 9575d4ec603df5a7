#pragma once
// The journal of device jobs: one line per read, write or code change, from the window and from
// korbi-cli alike. Its lines live in a database (record/journalstore.h); this file holds what a
// line is and how it reads as text: the CSV export for people and spreadsheets, the JSON keys
// for scripts.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

#include "config/image.h"

// The local record in the data folder, and the CSV journal of earlier versions that it imports.
constexpr const char* kJournalFileName = "Protokoll.sqlite";
constexpr const char* kOldJournalFileName = "Protokoll.csv";

enum class JournalJob { Read, Write, CodeChange };
enum class JournalOutcome { Ok, Aborted, Failed };
enum class JournalProgram { Window, Cli };

// The words that stand in the record's job and program columns: data that listings, reports and
// other tools filter on, so they never change with the window's texts.
const char* JournalJobWord(JournalJob job);
const char* JournalProgramWord(JournalProgram program);

struct JournalEntry {
    QDateTime time;  // local time; an invalid time stands for "now"
    JournalJob job = JournalJob::Read;
    QString codeBefore;  // the device's radio ID code as the identification found it
    QString codeAfter;   // the code it carries after the job
    QString firmwareVersion;
    QString productionDate;
    QString fileName;  // the configuration file involved, if any
    QString sha256;    // of the 256 bytes read or written, lower-case hexadecimal; empty if none
    JournalOutcome outcome = JournalOutcome::Ok;
    int messageId = 0;  // the catalogue id of the failure
    JournalProgram program = JournalProgram::Window;
    // A write that was read back: one of the verify words below (it stands in the outcome
    // column), and the SHA-256 of the image read back.
    QString verifyOutcome;
    QString verifySha256;
    QByteArray image;  // the 256 bytes read or written (read back, when checked); empty if none
    bool codeGivenAgain = false;  // the new code is one the record showed on another device
    // Filled in when the line is stored: who, where and with which version.
    QString loginName;
    QString hostName;
    QString programVersion;
    // Where the device was programmed: the customer's site ("Pflegeheim Sonnenhof, Haus B") and
    // the room its code list names for its code; empty when not given.
    QString site;
    QString room;
};

// The outcome words of a write that was read back.
inline const char* const kVerifiedWord = "geprüft";
inline const char* const kVerifyFailedWord = "Prüfung fehlgeschlagen";
inline const char* const kNotVerifiedWord = "nicht geprüft";

// The record keeps an outcome as a stable code (with the catalogue id of a failure beside it),
// so that a word's wording may change without touching a stored line. The German word a person
// reads is made from the code when the line is shown.
QString JournalOutcomeCode(const JournalEntry& entry);
// The German word of a stored code ("Fehler 10627" for "failed" and 10627); an unknown code is
// shown as it stands.
QString JournalOutcomeWord(const QString& code, int messageId);
// The stored code and catalogue id of an outcome word as earlier versions wrote it; a word that
// is no outcome's stays as it is.
void JournalOutcomeOfWord(const QString& word, QString* code, int* messageId);
// The same as an SQL expression over the columns outcome and message_id, so that a listing
// hands out the word without a conversion per line.
QString JournalOutcomeWordSql();
// The codes of outcomes whose job did what it was asked (a write whose check could not run
// included): their configuration is one a device holds.
QStringList JournalSucceededCodes();

// The columns of a journal line, in file order.
enum JournalColumn {
    ColTime,
    ColJob,
    ColCodeBefore,
    ColCodeAfter,
    ColFirmwareVersion,
    ColProductionDate,
    ColFileName,
    ColSha256,
    ColOutcome,
    ColProgram,
    ColVerifySha256,
    ColLoginName,
    ColHostName,
    ColProgramVersion,
    ColSite,
    ColRoom,
    kJournalColumns
};

// The local record's path in the application data folder (which ends with "/"); empty when the
// folder is not known, and then nothing is journalled.
QString JournalPath(const QString& applicationDataFolder);

// The SHA-256 of the image's 256 values, lower-case hexadecimal.
QString ImageSha256(const ConfigImage& image);
// The image's 256 values as bytes.
QByteArray ImageData(const ConfigImage& image);
// The SHA-256 of a written device as its check found it: the image as sent, with every cell of
// the write plan that the check read back as it came back, and the radio ID code the check's
// identification found (code) in the code's cells. A check without difference on a write that
// carried the device's code gives the sent image's SHA-256; no two devices give the same.
QString CheckedImageSha256(const ConfigImage& sent, const ConfigImage& readBack,
                           const std::vector<WriteBlock>& plan, const QString& code);
// Sets the entry's configuration and its SHA-256 together.
void SetJournalImage(JournalEntry& entry, const QByteArray& image);
// "2.1" for the firmware version byte 0x21, as the settings view shows it.
QString FirmwareVersionText(uint8_t version);

// Local time in ISO 8601 with its offset from UTC, e.g. 2026-03-01T14:05:09+01:00.
QString JournalTimeText(const QDateTime& time);
// The local date and time for people: "08.12.2026 07:19".
QString JournalShortTime(qint64 timeUtc);
// Text from a file name or the record as it is shown to people: format characters (such as
// U+202E, which turns the rest of a line around) as escapes (\u202e), so that what is shown is
// what is stored.
QString WithFormatCharactersEscaped(const QString& text);
constexpr int kJournalShortTimeLength = 16;
// The first 12 digits of a SHA-256, enough to tell lines apart at a glance.
QString ShortSha256(const QString& sha256);
constexpr int kShortSha256Length = 12;
// The fields of an entry, in column order.
QStringList JournalFields(const JournalEntry& entry);
// One CSV record ending in "\n"; fields holding a comma, a quote or a line break are quoted.
// With formulaGuard, a field that a spreadsheet would take for a formula (its first character
// after any spaces and tabs is = + - or @) gets a leading apostrophe.
QByteArray CsvRecord(const QStringList& fields, bool formulaGuard = false);
// Splits CSV text into records of fields; quoted fields may hold commas, quotes and line breaks.
QList<QStringList> ParseCsv(const QString& text);

// The same, fed piece by piece: each whole record goes to the callback as soon as it ends, so
// that a file of any size is read with the memory of one record.
class CsvReader {
  public:
    explicit CsvReader(std::function<void(const QStringList&)> record)
        : record_(std::move(record)) {}
    void Feed(QStringView text);
    // The last record, when the text did not end with a line break.
    void Finish();
    // A record longer than maxChars, or one the text leaves open (a quote never closed), stops
    // the reader: tooLong hears the line where that record began, and nothing from there on
    // reaches the callback. Without a limit a record may be of any length.
    void SetLimit(qsizetype maxChars, std::function<void(qint64 line)> tooLong);
    bool Stopped() const { return stopped_; }

  private:
    void EndRecord();
    void Stop();
    qsizetype limit_ = 0;
    std::function<void(qint64)> tooLong_;
    bool stopped_ = false;
    qint64 line_ = 1;        // the line the text has reached
    qint64 recordLine_ = 1;  // the line the record began on
    qsizetype recordChars_ = 0;
    std::function<void(const QStringList&)> record_;
    QStringList fields_;
    QString field_;
    bool quoted_ = false;
    bool quoteSeen_ = false;  // a quote inside a quoted field: the end, or the first of a pair
    bool fieldStarted_ = false;
    bool lastWasCr_ = false;
};

// The header line's column titles (German, for people).
QStringList JournalHeader();
// The keys of the columns in JSON: English identifiers that stay when a title's wording changes.
QStringList JournalJsonKeys();
