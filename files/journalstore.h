#pragma once
// Where the journal's lines go and where they are read: the local record (SQLite in the data
// folder) and, for a company, a PostgreSQL server. With a server, a line that cannot reach it
// stays in the local record, marked pending, and a later job sends it: nothing is lost, and no
// job waits on the network for more than a few seconds. A journal that fails never stops a job.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

#include "files/journal.h"
#include "files/journaldb.h"
#include "files/journalserver.h"

struct JournalTarget {
    QString localPath;  // Protokoll.sqlite in the data folder; empty: no journal at all
    QString serverUri;  // postgresql://...; empty: the local record is the journal
};

// The key of Values.ini's section "Setup" that names the company's server.
constexpr const char* kJournalServerKey = "JournalServer";
// The environment variable that names it, before Values.ini.
constexpr const char* kJournalServerVariable = "KORBI_JOURNAL";

// The server named by KORBI_JOURNAL or else by Values.ini; empty for none.
QString ConfiguredJournalServer(const QString& applicationDataFolder);

// Stores the entry (stamped with login, host and program version). warning stays empty when the
// line reached the journal as intended; otherwise it holds the German text for the user. False
// only when the line could not be stored anywhere.
bool AppendJournal(const JournalTarget& target, const JournalEntry& entry, QString* warning);

// Sends the pending lines of the local record to the server: the number that this call stored
// there, or -1 with a German error. A line whose values the server refuses is set aside, named in
// setAside, and the others are sent.
int SyncJournal(const JournalTarget& target, QString* error, QStringList* setAside = nullptr);

// The name of the journal for messages: the local file or the server without its password.
QString JournalName(const JournalTarget& target);

// Lines read from the journal one at a time, as the database hands them out: memory does not
// grow with the record. The filters use the indexes: a device code (before or after the job, any
// case) and a point in time.
class JournalReader {
  public:
    // Opens the server when one is named (sending pending lines first), else the local record.
    // False with a German error.
    // warning, when given, gets what went wrong on the way that did not stop the reading (an old
    // journal that could not be taken over).
    bool Open(const JournalTarget& target, QString* error, QString* warning = nullptr);
    // Runs the query, oldest first; Next then hands out the lines one by one.
    bool Select(const QString& deviceCode, const QDateTime& since, QString* error);
    // A page for a table: at most limit lines, newest first, older than the line `before` (all
    // for an invalid one).
    struct LineKey {
        qint64 timeUtc = 0;
        qint64 id = -1;
    };
    bool SelectPage(const QString& deviceCode, const LineKey& before, int limit, QString* error);
    // False at the end, and when the reading failed on the way (Failed then says so).
    bool Next(QStringList* fields);
    // Whether the last Next ended on a failure rather than at the end; error gets the German text.
    bool Failed(QString* error) const;
    // Of the line Next handed out last: its key, and whether it holds a configuration.
    LineKey Key() const;
    bool HasImage() const;
    // The 256 bytes of the line with this id; empty when it has none.
    QByteArray ImageOfLine(qint64 id);
    // The configuration last written to or read from the device (code after the job, any case);
    // empty when none is recorded. timeText then names its line's time.
    QByteArray LatestImage(const QString& deviceCode, QString* timeText, QString* error);

  private:
    bool Run(const QString& deviceCode, const QDateTime& since, const LineKey& before, int limit,
             QString* error);
    // A query with ? for its values, on whichever database is open.
    bool Query(const QString& sql, const QVariantList& values, QString* error);
    QVariant Value(int column) const;
    std::unique_ptr<JournalDb> db_;  // the local record, when it is the journal
    std::unique_ptr<JournalServer> server_;
    QSqlQuery query_;
    ServerRows row_;
    QString name_;
    QString failure_;
};
