#pragma once
// The journal of device jobs: one line per read, write or code change, from the window and from
// korbi-cli alike, in "Protokoll.csv" beside Values.ini. It is CSV in UTF-8 with a header line,
// so that a spreadsheet opens it as it stands, and it only ever grows: a line is appended in one
// write and flushed to the disk before the job reports its end.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "config/image.h"

constexpr const char* kJournalFileName = "Protokoll.csv";

enum class JournalJob { Read, Write, CodeChange };
enum class JournalOutcome { Ok, Aborted, Failed };
enum class JournalProgram { Window, Cli };

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
};

// The outcome words of a write that was read back.
inline const char* const kVerifiedWord = "geprüft";
inline const char* const kVerifyFailedWord = "Prüfung fehlgeschlagen";
inline const char* const kNotVerifiedWord = "nicht geprüft";

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
    kJournalColumns
};

// The journal's path in the application data folder (which ends with "/"); empty when the folder
// is not known, and then nothing is journalled.
QString JournalPath(const QString& applicationDataFolder);

// The SHA-256 of the image's 256 values, lower-case hexadecimal.
QString ImageSha256(const ConfigImage& image);
// "2.1" for the firmware version byte 0x21, as the settings view shows it.
QString FirmwareVersionText(uint8_t version);

// Local time in ISO 8601 with its offset from UTC, e.g. 2026-03-01T14:05:09+01:00.
QString JournalTimeText(const QDateTime& time);
// The fields of an entry, as they stand in the file.
QStringList JournalFields(const JournalEntry& entry);
// One CSV record ending in "\n"; fields holding a comma, a quote or a line break are quoted.
QByteArray CsvRecord(const QStringList& fields);

// Appends the entry (and the header line first, to a new or empty journal). False when it could
// not be written; error then says why, in German, for a warning: a journal that fails never
// stops a job.
bool AppendJournal(const QString& path, const JournalEntry& entry, QString* error);

// The lines of the journal without its header; false with a German error when it cannot be read.
// A missing journal is an empty one.
bool ReadJournal(const QString& path, QList<QStringList>* lines, QString* error);

// The lines about a device (its code before or after the job, in any case) from a point in time
// on; an empty code or an invalid time does not filter.
QList<QStringList> FilterJournal(const QList<QStringList>& lines, const QString& deviceCode,
                                 const QDateTime& since);

// The header line's column titles.
QStringList JournalHeader();
